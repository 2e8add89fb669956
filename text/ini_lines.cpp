#include "text/ini_lines.h"

#include <cstddef>
#include <unordered_set>

#include "text/cp932_bytes.h"
#include "text/utf8.h"

namespace tavrel {

namespace {

// Ctrl-Z counts as a space: files from DOS editors end with one.
bool IsIniSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsIniSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Walks characters, so that the second byte of a double-byte character is never taken for an
// ASCII delimiter; in UTF-8 every byte of a longer sequence is above 0x7F anyway.
class CharWalker {
 public:
  CharWalker(std::string_view text, IniEncoding encoding) : text_(text), encoding_(encoding) {}

  std::size_t Next(std::size_t at) const {
    return at + (encoding_ == IniEncoding::kAnsi ? Cp932CharLength(text_, at) : 1);
  }

  // The first position of c at or after `from`, or npos.
  std::size_t Find(char c, std::size_t from) const {
    for (std::size_t at = from; at < text_.size(); at = Next(at)) {
      if (text_[at] == c) return at;
    }
    return std::string_view::npos;
  }

  std::size_t FindLast(char c) const {
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text_.size(); at = Next(at)) {
      if (text_[at] == c) found = at;
    }
    return found;
  }

 private:
  std::string_view text_;
  IniEncoding encoding_;
};

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  auto unit = [&](std::size_t at) {
    return static_cast<char32_t>((static_cast<unsigned char>(bytes[at + 1]) << 8) |
                                 static_cast<unsigned char>(bytes[at]));
  };
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    char32_t code_point = unit(at);
    if (code_point >= 0xD800 && code_point < 0xDC00 && at + 3 < bytes.size() &&
        unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
      code_point = 0x10000 + ((code_point - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
      at += 2;
    } else if (code_point >= 0xD800 && code_point < 0xE000) {
      code_point = 0xFFFD;
    }
    AppendUtf8(code_point, out);
  }
  return out;
}

std::optional<IniLine> ParseLine(std::string_view line, int number, IniEncoding encoding) {
  line = Trim(line);
  if (line.empty()) return std::nullopt;
  if (line.front() == '[') {
    const std::size_t close = CharWalker(line, encoding).FindLast(']');
    // A "[" line without a closing "]" is read as a key, as the lookup does.
    if (close != std::string_view::npos && close > 0) {
      return IniLine{
          IniLine::Kind::kSection, number, std::string(Trim(line.substr(1, close - 1))), {}};
    }
  }
  const std::size_t equals = CharWalker(line, encoding).Find('=', 0);
  if (equals == std::string_view::npos) {
    return IniLine{IniLine::Kind::kKey, number, std::string(line), std::nullopt};
  }
  return IniLine{IniLine::Kind::kKey, number, std::string(Trim(line.substr(0, equals))),
                 std::string(Trim(line.substr(equals + 1)))};
}

}  // namespace

IniText ParseIniFile(std::string_view bytes) {
  IniText result{IniEncoding::kAnsi, {}};
  std::string decoded;
  // Only the little-endian mark makes a Unicode file. Windows reads the UTF-8 mark as text of the
  // first line, and a big-endian file as ANSI bytes (Wine skips the one and reads the other).
  if (bytes.starts_with("\xFF\xFE")) {
    decoded = Utf16LeToUtf8(bytes.substr(2));
    bytes = decoded;
    result.encoding = IniEncoding::kUtf16;
  }
  const CharWalker walker(bytes, result.encoding);
  int number = 0;
  // Once no "\n" is left it is not searched for again: a search per line to the end of the file
  // made files with "\r" line ends take time in the square of their size.
  bool newline_left = true;
  for (std::size_t start = 0; start < bytes.size();) {
    // Lines end at "\n"; a file without any "\n" left is split at "\r".
    std::size_t end = newline_left ? walker.Find('\n', start) : std::string_view::npos;
    newline_left = end != std::string_view::npos;
    if (!newline_left) end = walker.Find('\r', start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    ++number;
    if (auto line = ParseLine(bytes.substr(start, next - start), number, result.encoding)) {
      result.lines.push_back(*std::move(line));
    }
    start = next;
  }
  return result;
}

std::string FoldIniName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool SameIniName(std::string_view a, std::string_view b) {
  return FoldIniName(a) == FoldIniName(b);
}

IniIndex::IniIndex(const IniText& text) {
  std::unordered_set<std::string> sections_seen;
  std::optional<std::string> section;  // nothing outside a section that the lookup searches
  for (const IniLine& line : text.lines) {
    if (line.kind == IniLine::Kind::kSection) {
      std::string folded = FoldIniName(line.name);
      // Only the first section of a name is searched.
      const bool first = sections_seen.insert(folded).second;
      section = first ? std::optional<std::string>(std::move(folded)) : std::nullopt;
    } else if (section) {
      keys_.emplace(*section + '\0' + FoldIniName(line.name), &line);
    }
  }
}

const IniLine* IniIndex::Find(std::string_view section, std::string_view key) const {
  const auto found = keys_.find(FoldIniName(section) + '\0' + FoldIniName(key));
  return found == keys_.end() ? nullptr : found->second;
}

std::string_view StripEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace tavrel
