#include "platform/portable/ini_file_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/description_bytes.h"

namespace tavrel {
namespace {

class IniFileProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("ini_file_profile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "qxSetup.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Write(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::optional<std::string> Get(const std::string& key, std::size_t buffer_bytes = 1024) {
    return profile_.GetString("BOOT", key, path_, buffer_bytes);
  }

  std::filesystem::path folder_;
  std::string path_;
  IniFileProfile profile_;
};

TEST_F(IniFileProfileTest, ReturnsShiftJisValuesAsUtf8WithoutQuotes) {
  Write("[BOOT]\r\nCopy1=\"\x83\x65\x83\x58\x83\x67.dll, ,$SYSTEM\"\r\nCopy2='a'\r\n");
  EXPECT_EQ(Get("Copy1"), "テスト.dll, ,$SYSTEM");
  EXPECT_EQ(Get("copy2"), "a");
  EXPECT_EQ(Get("Copy3"), "");
}

TEST_F(IniFileProfileTest, CutsToTheBufferWithoutSplittingACharacter) {
  Write("[BOOT]\nCopy1=" + std::string(1022, 'x') + "\x82\xA0" +
        "\nCopy2=" + std::string(1023, 'y') + "z\nCopy3=\"" + std::string(1023, 'q') + "\"\n");
  EXPECT_EQ(Get("Copy1"), std::string(1022, 'x'));
  EXPECT_EQ(Get("Copy1", 1025), std::string(1022, 'x') + "あ");
  EXPECT_EQ(Get("Copy2"), std::string(1023, 'y'));
  EXPECT_EQ(Get("Copy3"), std::string(1023, 'q'));
  EXPECT_EQ(Get("Copy3", 1), "");
}

TEST_F(IniFileProfileTest, CutsUtf16TextByItsAnsiLength) {
  Write(description_bytes::Utf16LittleEndianWithMark(u"[BOOT]\nCopy1=" +
                                                     std::u16string(600, u'あ') + u"\n"));
  std::string expected;
  for (int i = 0; i < 511; ++i) expected += "あ";
  EXPECT_EQ(Get("Copy1"), expected);
}

TEST_F(IniFileProfileTest, ReadsTheFileAgainWhenItChanges) {
  Write("[BOOT]\nCopy1=a\n");
  EXPECT_EQ(Get("Copy1"), "a");
  Write("[BOOT]\nCopy1=bb\n");
  EXPECT_EQ(Get("Copy1"), "bb");
  std::filesystem::remove(path_);
  EXPECT_EQ(Get("Copy1"), "");
}

TEST_F(IniFileProfileTest, AFolderIsNoFile) {
  std::filesystem::create_directories(path_);
  EXPECT_EQ(Get("Copy1"), "");
}

}  // namespace
}  // namespace tavrel
