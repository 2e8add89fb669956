#include <gtest/gtest.h>

#include "volstrak_test_support.h"

namespace tavrel::volstrak {
namespace {

class CallLogTest : public ::testing::Test {
 protected:
  CallLogTest() { SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", log_.c_str()); }
  ~CallLogTest() override { SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", nullptr); }

  ScratchFolder folder_;
  std::filesystem::path log_ = folder_.path() / "calls.log";
};

TEST_F(CallLogTest, EveryCallAppendsOneLineWithItsArgumentsAndResult) {
  const auto v1 = Place(L"v1", folder_.path() / L"ソフト1.dll");
  const auto v2 = Place(L"v2", folder_.path() / "v2.dll");
  const auto text = Place(kTextFile, folder_.path() / "text.dll");
  std::int32_t comparison = 7;

  EXPECT_EQ(Logging().compare_version(Ansi(v2).c_str(), Ansi(v1).c_str(), &comparison), 1);
  EXPECT_EQ(Logging().compare_version(Ansi(text).c_str(), Ansi(v1).c_str(), &comparison), 0);
  EXPECT_NE(Logging().copy_file_date_time(Ansi(v1).c_str(), Ansi(v2).c_str()), 0);
  EXPECT_EQ(Logging().regist_dll(Ansi(v1).c_str(), -1), 1);
  EXPECT_EQ(Logging().regist_dll(Ansi(text).c_str(), 0), 0);

  EXPECT_EQ(ReadTextFile(log_), "CompareVersion|" + Utf8(v2) + "|" + Utf8(v1) + "|1|1\n" +
                                    "CompareVersion|" + Utf8(text) + "|" + Utf8(v1) + "|0|1\n" +
                                    "CopyFileDateTime|" + Utf8(v1) + "|" + Utf8(v2) + "|1\n" +
                                    "RegistDll|" + Utf8(v1) + "|-1|1\n" + "RegistDll|" +
                                    Utf8(text) + "|0|0\n");
}

TEST_F(CallLogTest, NothingIsWrittenWithoutTheVariable) {
  SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", nullptr);
  EXPECT_EQ(Logging().regist_dll("no such file.dll", -1), 0);
  EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(CallLogTest, ProductionBuildNeverLogs) {
  const auto v1 = Ansi(Place(L"v1", folder_.path() / "v1.dll"));
  std::int32_t comparison = 0;
  EXPECT_EQ(Production().compare_version(v1.c_str(), v1.c_str(), &comparison), 1);
  EXPECT_EQ(Production().regist_dll(v1.c_str(), -1), 1);
  EXPECT_FALSE(std::filesystem::exists(log_));
}

}  // namespace
}  // namespace tavrel::volstrak
