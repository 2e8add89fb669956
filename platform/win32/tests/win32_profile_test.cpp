#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>

#include "platform/win32/tests/scratch_folder.h"
#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

constexpr std::size_t kBuffer = 1024;

class Win32ProfileTest : public testing::Test {
 protected:
  // Writes [section] key=value in the ANSI code page, as the maker's files are written.
  void WriteProfile(std::string_view section, std::string_view key, std::string_view value) {
    std::string text;
    for (const std::string_view part :
         std::initializer_list<std::string_view>{"[", section, "]\r\n", key, "=", value, "\r\n"}) {
      text += part;
    }
    WriteBytes(path_, Utf8ToAnsi(text));
  }

  ScratchFolder folder_;
  std::string path_ = folder_ / "設定.ini";
  Win32Profile profile_;
};

TEST_F(Win32ProfileTest, ValuesUpToTheBufferAreCutWholeCharactersOnly) {
  const std::string a1022(1022, 'a');
  const struct {
    const char* what;
    std::string value;
    std::string expected;
  } cases[] = {
      {"1023 bytes fit", a1022 + "b", a1022 + "b"},
      {"1024 bytes lose the last", a1022 + "bc", a1022 + "b"},
      {"a double-byte character cut in half is dropped", a1022 + "あ", a1022},
      {"a double-byte character that fits stays", std::string(1021, 'a') + "あ",
       std::string(1021, 'a') + "あ"},
      // "メ" is 0x83 0x81, and 0x81 alone would be a lead byte.
      {"a trail byte that looks like a lead byte stays", std::string(1021, 'a') + "メ",
       std::string(1021, 'a') + "メ"},
      {"inner spaces and commas stay", "x.dll, ,$WIN\\サブ,REGIST", "x.dll, ,$WIN\\サブ,REGIST"},
  };
  for (const auto& c : cases) {
    WriteProfile("BOOT", "Copy1", c.value);
    EXPECT_EQ(profile_.GetString("BOOT", "Copy1", path_, kBuffer), c.expected) << c.what;
  }
}

TEST_F(Win32ProfileTest, JapaneseNamesAndMissingPartsGiveTheEmptyText) {
  WriteProfile("起動", "コピー1", "ファイル.dll");
  EXPECT_EQ(profile_.GetString("起動", "コピー1", path_, kBuffer), "ファイル.dll");
  EXPECT_EQ(profile_.GetString("起動", "コピー2", path_, kBuffer), "");
  EXPECT_EQ(profile_.GetString("BOOT", "コピー1", path_, kBuffer), "");
  EXPECT_EQ(profile_.GetString("起動", "コピー1", folder_ / "missing.ini", kBuffer), "");
  EXPECT_EQ(profile_.GetString("起動", "コピー1", path_, 0), "");
}

}  // namespace
}  // namespace tavrel
