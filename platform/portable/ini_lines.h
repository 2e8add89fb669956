#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// An initialization file split into lines the way GetPrivateProfileString splits it. Shared by
// our own lookup and by tools that look at the whole file.

struct IniLine {
  enum class Kind { kSection, kKey };
  Kind kind;
  int number;  // counted from 1, blank lines included
  // Section: the text between "[" and the last "]". Key: the text before the first "=". Both
  // without the spaces around them.
  std::string name;
  // Key: the text after the first "=", without the spaces around it; nothing without "=".
  std::optional<std::string> value;
};

enum class IniEncoding {
  kAnsi,   // the lines hold code page 932 bytes, as the file does
  kUtf16,  // the file began with a UTF-16 byte-order mark; the lines hold its text as UTF-8
};

struct IniText {
  IniEncoding encoding;
  std::vector<IniLine> lines;  // blank lines left out
};

IniText ParseIniFile(std::string_view bytes);

// Section and key names match ignoring the letter case of A-Z.
bool SameIniName(std::string_view a, std::string_view b);

// The first key named `key` in the first section named `section`, as the lookup finds it; null
// when there is none.
const IniLine* FindIniKey(const IniText& text, std::string_view section, std::string_view key);

// A value enclosed in one pair of matching quotes (' or ") loses them.
std::string_view StripEnclosingQuotes(std::string_view value);

}  // namespace tavrel
