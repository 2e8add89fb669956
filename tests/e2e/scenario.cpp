#include "tests/e2e/scenario.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace tavrel::e2e {
namespace {

const std::map<std::string, DWORD> kAttributes = {{"hidden", FILE_ATTRIBUTE_HIDDEN},
                                                  {"system", FILE_ATTRIBUTE_SYSTEM},
                                                  {"readonly", FILE_ATTRIBUTE_READONLY}};

// What is left of the line, without the one space before it; "\r" stands for a carriage return.
std::string Rest(std::istringstream& in) {
  std::string rest;
  std::getline(in, rest);
  std::string text;
  for (size_t i = rest.starts_with(' ') ? 1 : 0; i < rest.size(); ++i) {
    const bool return_mark = rest.compare(i, 2, "\\r") == 0;
    text += return_mark ? '\r' : rest[i];
    i += return_mark ? 1 : 0;
  }
  return text;
}

// The next word: a {place ...} counts as one, and "..." keeps its spaces.
std::istringstream& operator>>(std::istringstream& in, std::string& word) {
  word.clear();
  in >> std::ws;
  const bool quoted = in.peek() == '"';
  if (quoted) in.get();
  for (int depth = 0, c; (c = in.peek()) != EOF; in.get()) {
    if (quoted ? c == '"' : depth == 0 && c == ' ') break;
    depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    word += static_cast<char>(c);
  }
  if (quoted) in.get();
  if (word.empty() && !quoted) in.setstate(std::ios::failbit);
  return in;
}

std::uint64_t Size(const std::string& text) {
  const bool mebibytes = text.ends_with("M");
  return std::stoull(text) << (mebibytes ? 20 : 0);
}

// "48,64" and "81x25" into a rectangle of left, top, width, height.
RECT Box(const std::string& at, const std::string& size) {
  return {std::stoi(at), std::stoi(at.substr(at.find(',') + 1)), std::stoi(size),
          std::stoi(size.substr(size.find('x') + 1))};
}

void ReadLine(Scenario& s, std::istringstream& in, const std::string& word) {
  Run* run = s.runs.empty() ? nullptr : &s.runs.back();
  const auto need_run = [&] {
    if (!run) throw std::runtime_error(word + " before the first run");
    return run;
  };
  std::string a, b;
  if (word == "locale") {
    in >> s.locale;
  } else if (word == "dpi") {
    s.dpis.clear();
    for (int dpi; in >> dpi;) s.dpis.push_back(dpi);
  } else if (word == "app") {
    s.app = Rest(in);
  } else if (word == "volstrak") {
    in >> s.volstrak;
  } else if (word == "file") {
    LaidFile file;
    in >> file.path >> file.kind >> file.value;
    if (file.kind == "bytes" || file.kind == "zeros") file.size = Size(file.value);
    while (in >> a) {
      if (a == "day")
        in >> file.day;
      else
        file.attributes |= kAttributes.at(a);
    }
    s.files.push_back(file);
  } else if (word == "folder") {
    s.folders.push_back(Rest(in));
  } else if (word == "hold" || word == "share") {
    s.holds.emplace_back(Rest(in), word == "share");
  } else if (word == "run") {
    s.runs.emplace_back().action = Rest(in);
  } else if (word == "message") {
    in >> a >> b;
    need_run()->messages.push_back({a == "warning", b == "-" ? "" : b, Rest(in)});
  } else if (word == "completed") {
    need_run()->messages.push_back({false, "", "セットアップが完了しました。"});
    run->exit_status = 0;
  } else if (word == "exit") {
    need_run()->exit_status = static_cast<DWORD>(std::stoul(Rest(in)));
  } else if (word == "after") {
    FileAfter after;
    in >> after.path >> after.state;
    if (after.state == "copy-of") in >> after.source;
    while (in >> a) after.attributes |= kAttributes.at(a);
    need_run()->after.push_back(after);
  } else if (word == "call") {
    need_run()->calls.push_back(Rest(in));
  } else if (word == "nocall") {
    need_run()->no_calls.push_back(Rest(in));
  } else if (word == "window") {
    WindowLook look;
    in >> look.name >> a;
    look.client_at_96_dpi = {std::stoi(a), std::stoi(a.substr(a.find('x') + 1))};
    while (in >> a) {
      if (a == "title")
        look.title = Rest(in);
      else if (a == "focus")
        in >> look.focus;
      else
        look.traits.push_back(a);
    }
    need_run()->looks.push_back(look);
  } else if (word == "control") {
    Control control;
    in >> control.id >> control.class_name >> a >> b;
    control.at_96_dpi = Box(a, b);
    control.text = Rest(in);
    if (need_run()->looks.empty()) throw std::runtime_error("control before its window");
    run->looks.back().controls.push_back(control);
  } else {
    throw std::runtime_error("unknown word " + word);
  }
}

}  // namespace

Scenario ReadScenario(const std::filesystem::path& file) {
  Scenario s;
  s.name = file.stem().string();
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.ends_with('\r')) line.pop_back();
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word.starts_with('#')) continue;
    try {
      if (word != "description") {
        ReadLine(s, words, word);
        continue;
      }
      // The lines up to "end" are the description, each ended by CR LF (LF with "lf").
      s.description.emplace();
      for (std::string option; words >> option;) {
        if (option == "folder")
          s.description_is_folder = true;
        else if (option == "lf")
          s.line_feeds_alone = true;
        else
          s.encoding = option;
      }
      if (s.description_is_folder) continue;
      for (std::string body; std::getline(in, body) && (++number, body != "end");) {
        s.description->push_back(body);
      }
    } catch (const std::exception& e) {
      throw std::runtime_error(file.filename().string() + ":" + std::to_string(number) + ": " +
                               e.what());
    }
  }
  return s;
}

}  // namespace tavrel::e2e
