#include "platform/win32/text_conversion.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

// The tests run with the Japanese code page, 932.
TEST(TextConversionTest, JapaneseTextRoundTripsThroughEveryForm) {
  const std::string text = "ｾｯﾄｱｯﾌﾟ セットアップ中．．． C:\\ソフト\\表示.dll";
  EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
  EXPECT_EQ(Utf8ToWide("あ"), L"\u3042");
  EXPECT_EQ(Utf8ToAnsi("あｱ"), "\x82\xa0\xb1");
  EXPECT_EQ(AnsiToUtf8("\x82\xa0\xb1"), "あｱ");
  EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi(text)), text);
  EXPECT_EQ(Utf8ToAnsi(""), "");
}

TEST(TextConversionTest, CharactersOutsideTheCodePageNeverBecomeLookAlikes) {
  // Best fit would give "\" for the yen sign and "A" for A-ring, changing what a path names.
  EXPECT_EQ(Utf8ToAnsi("C:\u00a5Å.dll"), "C:??.dll");
}

}  // namespace
}  // namespace tavrel
