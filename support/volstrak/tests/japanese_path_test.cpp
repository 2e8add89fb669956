#include <gtest/gtest.h>

#include "volstrak_test_support.h"

namespace tavrel::volstrak {
namespace {

// Paths in code page 932 (Shift-JIS), where "表", "ソ" and "能" end in the byte of "\": a
// byte-wise reading of the path would split it there.
class JapanesePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "run under the Japanese code page (scripts/wine-run)";
    std::filesystem::create_directories(folder_path_);
  }

  ScratchFolder scratch_;
  std::filesystem::path folder_path_ = scratch_.path() / L"表示ソフト";
};

TEST_F(JapanesePathTest, AllThreeFunctionsReachTheFiles) {
  const auto source_path = Place(L"v2", folder_path_ / L"ソース.dll");
  const auto destination_path = Place(L"v1", folder_path_ / L"能力.dll");
  const std::string source = Ansi(source_path);
  const std::string destination = Ansi(destination_path);

  std::int32_t comparison = 0;
  EXPECT_EQ(Production().compare_version(source.c_str(), destination.c_str(), &comparison), 1);
  EXPECT_EQ(comparison, 1);

  const auto source_time = std::filesystem::last_write_time(source_path) - std::chrono::hours(9000);
  std::filesystem::last_write_time(source_path, source_time);
  EXPECT_NE(Production().copy_file_date_time(destination.c_str(), source.c_str()), 0);
  EXPECT_EQ(std::filesystem::last_write_time(destination_path), source_time);

  SetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", nullptr);
  EXPECT_EQ(Production().regist_dll(destination.c_str(), -1), 1);
  wchar_t called[64] = L"";
  GetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", called, std::size(called));
  EXPECT_STREQ(called, L"DllRegisterServer");
}

}  // namespace
}  // namespace tavrel::volstrak
