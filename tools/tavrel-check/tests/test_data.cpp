#include "tools/tavrel-check/tests/test_data.h"

#include <fstream>
#include <random>
#include <sstream>

#include "text/utf8.h"

namespace tavrel {

namespace {

// UTF-8 text as UTF-16 after its byte-order mark.
std::string Utf16WithMark(std::string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  auto append = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  };
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, at);
    char32_t c = static_cast<unsigned char>(text[at]) & (length == 1 ? 0x7F : 0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) c = c << 6 | (text[at + i] & 0x3F);
    at += length;
    if (c >= 0x10000) {
      append(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + (c & 0x3FF);
    }
    append(c);
  }
  return bytes;
}

}  // namespace

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
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, '\t');) rows.back().push_back(field);
  }
  return rows;
}

TempFolder::TempFolder()
    : path_(std::filesystem::temp_directory_path() /
            ("tavrel-check-test-" + std::to_string(std::random_device()()))) {
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() { std::filesystem::remove_all(path_); }

std::string TempFolder::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path file = path_ / std::u8string(relative.begin(), relative.end());
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  return file.string();
}

// Rows "NAME<TAB>bytes|utf-16le|utf-16be<TAB>TEXT" start a file; the rows under it,
// "<TAB>KEY<TAB>VALUE[<TAB>wine=VALUE]", look up its keys ("-": the empty value).
std::vector<CorpusFile> ReadLookupCorpus(const std::string& path) {
  auto value = [](const std::string& field) { return field == "-" ? "" : Unescape(field); };
  std::vector<CorpusFile> files;
  for (const std::vector<std::string>& row : ReadRows(path)) {
    if (!row[0].empty()) {
      const std::string text = Unescape(row[2]);
      files.push_back(
          {row[0], row[1] == "bytes" ? text : Utf16WithMark(text, row[1] == "utf-16be"), {}});
    } else {
      files.back().lookups.push_back({row[1], value(row[2]), std::nullopt});
      if (row.size() > 3) files.back().lookups.back().wine = value(row[3].substr(5));
    }
  }
  return files;
}

}  // namespace tavrel
