#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
  kUtf16,  // the file began with the UTF-16 little-endian mark; the lines hold its text as UTF-8
};

struct IniText {
  IniEncoding encoding;
  std::vector<IniLine> lines;  // blank lines left out
};

IniText ParseIniFile(std::string_view bytes);

// Section and key names match ignoring the letter case of A-Z.
bool SameIniName(std::string_view a, std::string_view b);

// A name with A-Z turned to a-z: equal for names that match.
std::string FoldIniName(std::string_view name);

// Finds keys as the lookup does: the first key of a name in the first section of a name. Keeps
// pointers into the text, which must outlive it.
class IniIndex {
 public:
  explicit IniIndex(const IniText& text);

  // Null when the section or the key is missing.
  const IniLine* Find(std::string_view section, std::string_view key) const;

 private:
  // Folded section name, NUL, folded key name.
  std::unordered_map<std::string, const IniLine*> keys_;
};

// A value enclosed in one pair of matching quotes (' or ") loses them.
std::string_view StripEnclosingQuotes(std::string_view value);

}  // namespace tavrel
