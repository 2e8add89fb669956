#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tools/tavrel-check/tests/check_folder.h"

namespace tavrel {
namespace {

// The whole report of one description, compared with tests/golden/NAME; the program folder's
// path is written as FOLDER there. TAVREL_UPDATE_GOLDEN=1 writes the files instead.
void ExpectGolden(const std::string& name, bool json, Language language) {
  CheckFolder folder;
  folder.WriteDescription(
      "; Runtime for the product series\r\n"
      "[BOOT]\r\n"
      "Copy1=\x83\x65\x83\x58\x83\x67.dll,,$SYSTEM,REGIST\r\n"
      "Copy2=msvbvm60.dll,,$SYSTEM,regist\r\n"
      "Copy3=help.chm,,$WIN\\Help\r\n"
      "Copy4=readme.txt,,Docs\r\n"
      "Copy6=late.dll,,$SYSTEM\r\n");
  for (const char* file : {"テスト.dll", "msvbvm60.dll", "help.chm"}) folder.Write(file, "");
  std::string report = folder.Check(json, language).out;
  const std::string path = folder.path().string();
  for (std::size_t at; (at = report.find(path)) != std::string::npos;)
    report.replace(at, path.size(), "FOLDER");

  const std::string golden = std::string(TAVREL_GOLDEN_DIR) + "/" + name;
  if (std::getenv("TAVREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(golden, std::ios::binary | std::ios::trunc) << report;
    return;
  }
  std::ifstream file(golden, std::ios::binary);
  const std::string expected{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
  EXPECT_EQ(report, expected) << name;
}

TEST(Golden, TextInEnglish) { ExpectGolden("report.en.txt", false, Language::kEnglish); }
TEST(Golden, TextInJapanese) { ExpectGolden("report.ja.txt", false, Language::kJapanese); }
TEST(Golden, Json) { ExpectGolden("report.en.json", true, Language::kEnglish); }
TEST(Golden, JsonInJapanese) { ExpectGolden("report.ja.json", true, Language::kJapanese); }

}  // namespace
}  // namespace tavrel
