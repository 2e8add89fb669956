#include "text/ini_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavrel {
namespace {

struct LookupCase {
  const char* what;
  std::string file;
  std::optional<std::string> value;  // of Copy1 in BOOT; nothing when the key is not found
};

TEST(IniIndex, FollowsTheLookupsRules) {
  const LookupCase cases[] = {
      {"plain", "[BOOT]\nCopy1=a.dll\n", "a.dll"},
      {"case and spaces", "[boot]\r\n  COPY1 \t=  a , b  \r\n", "a , b"},
      {"first duplicate wins", "[BOOT]\nCopy1=a\ncopy1=b\n", "a"},
      {"only the first BOOT section", "[BOOT]\nCopy2=a\n[Boot]\nCopy1=b\n", std::nullopt},
      {"keys before any section", "Copy1=a\n[BOOT]\n", std::nullopt},
      {"other section", "[BOOT]\n[Other]\nCopy1=a\n", std::nullopt},
      {"spaces inside brackets", "[ BOOT ]\nCopy1=a\n", "a"},
      {"text after the last bracket", "[BOOT] ;x\nCopy1=a\n", "a"},
      {"no closing bracket", "[BOOT\nCopy1=a\n", std::nullopt},
      {"no equals sign", "[BOOT]\nCopy1\n", ""},
      {"carriage returns only", "[BOOT]\rCopy1=a\r", "a"},
      {"comment is a key", "[BOOT]\n;Copy1=x\nCopy1=a ;b\n", "a ;b"},
      {"Ctrl-Z is a space", "[BOOT]\nCopy1=a\x1A", "a"},
      {"bracket as second byte", "[BOOT\x83\x5D\nCopy1=a\n", std::nullopt},
      {"UTF-16LE",
       std::string("\xFF\xFE[\0B\0O\0O\0T\0]\0\n\0C\0o\0p\0y\0"
                   "1\0=\0x\0",
                   30),
       "x"},
      {"UTF-16BE",
       std::string("\xFE\xFF\0[\0B\0O\0O\0T\0]\0\n\0C\0o\0p\0y\0"
                   "1\0=\0x",
                   30),
       "x"},
      {"UTF-8 mark spoils the first line", "\xEF\xBB\xBF[BOOT]\nCopy1=a\n", std::nullopt},
  };
  for (const LookupCase& c : cases) {
    const IniText text = ParseIniFile(c.file);
    const IniLine* line = IniIndex(text).Find("BOOT", "Copy1");
    if (!c.value) {
      EXPECT_EQ(line, nullptr) << c.what;
      continue;
    }
    ASSERT_NE(line, nullptr) << c.what;
    EXPECT_EQ(line->value.value_or(""), *c.value) << c.what;
  }
}

TEST(ParseIniFile, NumbersLinesAsWritten) {
  const IniText text = ParseIniFile("\n[BOOT]\n\nCopy1=a\n  \nCopy2=b");
  ASSERT_EQ(text.lines.size(), 3u);
  EXPECT_EQ(text.lines[0].number, 2);
  EXPECT_EQ(text.lines[1].number, 4);
  EXPECT_EQ(text.lines[2].number, 6);
}

TEST(StripEnclosingQuotes, RemovesOneMatchingPair) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"a,b\"", "a,b"}, {"'a'", "a"}, {"\"\"a\"\"", "\"a\""}, {"\"a'", "\"a'"},
      {"\"", "\""},       {"\"\"", ""}, {"a\"", "a\""},         {"", ""},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(StripEnclosingQuotes(value), expected);
}

}  // namespace
}  // namespace tavrel
