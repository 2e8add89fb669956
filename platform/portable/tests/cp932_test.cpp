#include <gtest/gtest.h>

#include <string>

#include "text/cp932_bytes.h"
#include "platform/portable/cp932_text.h"

namespace tavrel {
namespace {

struct CutCase {
  std::string bytes;
  std::size_t max_bytes;
  std::string expected;
};

TEST(CutCp932, NeverEndsInsideADoubleByteCharacter) {
  const CutCase cases[] = {
      {"abc", 2, "ab"},
      {"abc", 3, "abc"},
      {"a\x82\xA0", 2, "a"},  // "aあ": the second character does not fit whole
      {"a\x82\xA0", 3, "a\x82\xA0"},
      {"\xB1\xB2\xB3", 2, "\xB1\xB2"},  // half-width katakana are single bytes
      {"\x82\x5C\\", 2, "\x82\x5C"},    // 0x5C after a lead byte is its second half
      {"", 5, ""},
  };
  for (const CutCase& c : cases) {
    EXPECT_EQ(CutCp932(c.bytes, c.max_bytes), c.expected) << c.bytes << " at " << c.max_bytes;
  }
}

struct ConversionCase {
  std::string cp932;
  std::string utf8;
};

TEST(Cp932Text, MapsAsWindowsDoes) {
  const ConversionCase cases[] = {
      {"abc\\~", "abc\\~"},  // 0x5C stays a backslash, 0x7E a tilde
      {"\x82\xA0\x83\x5C", "あソ"},
      {"\xB1\xDE", "ｱﾞ"},
      {"\x81\x5F", "＼"},
      {"\x87\x40", "①"},                       // NEC special characters
      {"\x80\xA0\xFD", "\u0080\uF8F0\uF8F1"},  // single bytes Windows maps to itself
  };
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
  }
}

TEST(Cp932Text, UnmappedTextGetsTheDefaultCharacters) {
  EXPECT_EQ(Cp932ToUtf8("a\x85\x40z"), "a・z");  // an unassigned pair is one character
  EXPECT_EQ(Utf8ToCp932("a们z"), "a?z");
  EXPECT_EQ(Utf8ToCp932("a😀z"), "a??z");
  EXPECT_EQ(Utf8ToCp932("a\xFFz"), "a?z");  // not UTF-8 at all
}

}  // namespace
}  // namespace tavrel
