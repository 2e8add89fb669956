#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "platform/portable/cp932_text.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/check_command.h"
#include "tools/tavrel-check/tests/test_data.h"

namespace tavrel {
namespace {

CheckOutput Check(const std::filesystem::path& folder, bool json, Language language) {
  IniFileProfile profile;
  CheckOptions options;
  options.json = json;
  options.folder = folder.string();
  return RunCheck(options, CheckHost{.profile = profile,
                                     .win_dir = "C:\\Windows",
                                     .sys_dir = "C:\\Windows\\system32",
                                     .language = language,
                                     .ansi_to_utf8 = Cp932ToUtf8});
}

// "code" or "code:n" for each warning of a JSON report, or "-".
std::string ReportedCodes(const std::string& json) {
  static const std::regex kWarning(R"re(\{"code": "([a-z-]+)"(, "n": (\d+))?)re");
  std::string codes;
  for (auto match = std::sregex_iterator(json.begin(), json.end(), kWarning);
       match != std::sregex_iterator(); ++match) {
    codes += (codes.empty() ? "" : " ") + (*match)[1].str() +
             ((*match)[3].matched ? ":" + (*match)[3].str() : "");
  }
  return codes.empty() ? "-" : codes;
}

TEST(Findings, EachFolderGetsItsWarningsAndStatus) {
  for (const std::vector<std::string>& row : ReadRows(TAVREL_TEST_DATA "/findings.txt")) {
    TempFolder folder;
    for (std::size_t i = 3; i < row.size(); ++i) {
      const std::size_t equals = row[i].find('=');
      folder.Write(row[i].substr(0, equals), Unescape(row[i].substr(equals + 1)));
    }
    const CheckOutput output = Check(folder.path(), /*json=*/true, Language::kEnglish);
    EXPECT_EQ(ReportedCodes(output.out), row[2]) << row[0] << "\n" << output.out;
    EXPECT_EQ(static_cast<int>(output.status), std::stoi(row[1])) << row[0];
  }
}

// The whole report on sample/ in each form, with its path written as FOLDER.
// TAVREL_UPDATE_GOLDEN=1 writes the files instead.
TEST(Findings, ReportsAreTheGoldenOnes) {
  const std::string sample = TAVREL_TEST_DATA "/sample";
  for (const auto& [name, json, language] : {std::tuple{"report.en.txt", false, Language::kEnglish},
                                             {"report.ja.txt", false, Language::kJapanese},
                                             {"report.en.json", true, Language::kEnglish},
                                             {"report.ja.json", true, Language::kJapanese}}) {
    std::string report = Check(sample, json, language).out;
    for (std::size_t at; (at = report.find(sample)) != std::string::npos;)
      report.replace(at, sample.size(), "FOLDER");
    const std::string golden = TAVREL_TEST_DATA "/golden/" + std::string(name);
    if (std::getenv("TAVREL_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(golden, std::ios::binary) << report;
      continue;
    }
    std::ifstream file(golden, std::ios::binary);
    EXPECT_EQ(report, std::string(std::istreambuf_iterator<char>(file), {})) << name;
  }
}

TEST(FillIn, ReplacesNumberedPlaceholdersOnly) {
  EXPECT_EQ(FillIn("{2} after {1}", {"a", "b"}), "b after a");
  EXPECT_EQ(FillIn("{3} {x} {0} {", {"a"}), "{3} {x} {0} {");
}

}  // namespace
}  // namespace tavrel
