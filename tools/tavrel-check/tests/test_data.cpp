#include "tools/tavrel-check/tests/test_data.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "description/setup_description.h"

namespace tavrel {

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '{') {
      const std::size_t colon = text.find(':', at), close = text.find('}', at);
      const std::string once = Unescape(text.substr(colon + 1, close - colon - 1));
      for (int n = std::stoi(std::string(text.substr(at + 1, colon - at - 1))); n > 0; --n)
        out += once;
      at = close;
    } else if (text[at] != '\\' || at + 1 == text.size()) {
      out += text[at];
    } else if (const char c = text[++at]; c == 'x') {
      out += static_cast<char>(std::stoi(std::string(text.substr(at + 1, 2)), nullptr, 16));
      at += 2;
    } else {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
    }
  }
  return out;
}

std::vector<std::vector<std::string>> ReadRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, '\t');) rows.back().push_back(field);
  }
  return rows;
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
  const std::filesystem::path file(std::u8string(path.begin(), path.end()));
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  const std::u8string absolute = std::filesystem::absolute(file).u8string();
  return std::string(absolute.begin(), absolute.end());
}

// Rows "NAME<TAB>BYTES" write a file; the rows under it, "<TAB>KEY<TAB>VALUE[<TAB>wine=VALUE]",
// look up its keys ("-": empty). Every file goes to the same path, so each is also a change that
// the reader must notice.
int CorpusDifferences(Profile& profile, const std::string& corpus, bool wine) {
  auto value = [](const std::string& field) { return field == "-" ? "" : Unescape(field); };
  int differences = 0;
  std::string name, path;
  for (const std::vector<std::string>& row : ReadRows(corpus)) {
    if (!row[0].empty()) {
      name = row[0];
      path = WriteFile("lookup-corpus/qxSetup.ini", value(row[1]));
      continue;
    }
    const std::optional<std::string> got = ReadSetupValue(profile, path, "BOOT", row[1]);
    if (got != value(wine && row.size() > 3 ? row[3].substr(5) : row[2])) {
      std::printf("%s %s: %s\n", name.c_str(), row[1].c_str(),
                  got ? ("\"" + *got + "\"").c_str() : "nothing");
      ++differences;
    }
  }
  return differences;
}

}  // namespace tavrel
