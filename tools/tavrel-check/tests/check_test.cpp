#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "image/tests/image_builder.h"
#include "platform/portable/cp932_text.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/check_command.h"
#include "tools/tavrel-check/encoding_check.h"
#include "tools/tavrel-check/tests/test_data.h"

namespace tavrel {
namespace {

CheckOutput Check(const std::string& folder, bool json, Language language) {
  IniFileProfile profile;
  return RunCheck({.json = json, .win_dir = {}, .sys_dir = {}, .folder = folder},
                  {profile, R"(C:\Windows)", R"(C:\Windows\system32)", language, Cp932ToUtf8});
}

// Each row of findings.txt: a folder, and the codes of its JSON report's warnings and notes.
TEST(Findings, EachFolderGetsItsWarningsAndStatus) {
  static const std::regex kWarning(R"re(\{"code": "([a-z-]+)"(, "n": (\d+))?)re");
  static const std::regex kWordless(R"re("message": "[a-z-]+")re");
  for (const std::vector<std::string>& row : ReadRows(TAVREL_TEST_DATA "/findings.txt")) {
    const std::string folder = "findings/" + row[0];
    std::filesystem::remove_all(folder);
    for (std::size_t i = 3; i < row.size(); ++i) {
      const std::size_t equals = row[i].find('=');
      const std::string bytes = row[i].substr(equals + 1);
      WriteFile(folder + "/" + row[i].substr(0, equals),
                bytes.starts_with("pe:") ? BuildImage(Unescape(bytes.substr(3))) : Unescape(bytes));
    }
    const CheckOutput output = Check(folder, /*json=*/true, Language::kEnglish);
    std::string codes;
    for (auto match = std::sregex_iterator(output.out.begin(), output.out.end(), kWarning);
         match != std::sregex_iterator(); ++match) {
      codes += (codes.empty() ? "" : " ") + (*match)[1].str() +
               ((*match)[3].matched ? ":" + (*match)[3].str() : "");
    }
    EXPECT_EQ(codes.empty() ? "-" : codes, row[2]) << row[0] << "\n" << output.out;
    EXPECT_EQ(static_cast<int>(output.status), std::stoi(row[1])) << row[0];
    // Every finding is put into words: a message that is only its code has none.
    EXPECT_FALSE(std::regex_search(output.out, kWordless)) << row[0] << "\n" << output.out;
  }
}

// The whole report on sample/ in each form and language, with its path written as FOLDER.
// TAVREL_UPDATE_GOLDEN=1 writes the files first.
TEST(Findings, ReportsAreTheGoldenOnes) {
  const std::string sample = TAVREL_TEST_DATA "/sample";
  for (const bool json : {false, true}) {
    for (const Language language : {Language::kEnglish, Language::kJapanese}) {
      std::string report = Check(sample, json, language).out;
      for (std::size_t at; (at = report.find(sample)) != std::string::npos;)
        report.replace(at, sample.size(), "FOLDER");
      const std::string golden = std::string(TAVREL_TEST_DATA "/golden/report.") +
                                 (language == Language::kJapanese ? "ja" : "en") +
                                 (json ? ".json" : ".txt");
      if (std::getenv("TAVREL_UPDATE_GOLDEN") != nullptr)
        std::ofstream(golden, std::ios::binary) << report;
      std::ifstream file(golden, std::ios::binary);
      EXPECT_EQ(report, std::string(std::istreambuf_iterator<char>(file), {})) << golden;
    }
  }
}

TEST(FillIn, ReplacesNumberedPlaceholdersOnly) {
  EXPECT_EQ(FillIn("{2} after x{1}", {"a", "b"}), "b after xa");
  EXPECT_EQ(FillIn("{2} {x} {0} {", {"a"}), "{2} {x} {0} {");  // {2}: one past the last
}

// Each row of encoding.txt: a text, and the problem found in it. A byte that both checks read
// otherwise than text follows the text, so that a look past its end shows.
TEST(FindEncodingProblem, TellsFilesThatWereNotSavedAsShiftJis) {
  const char* const kKinds[] = {"utf8-mark", "utf16-mark", "utf8-text", "not-shift-jis",
                                "utf16be-mark"};
  for (const std::vector<std::string>& row : ReadRows(TAVREL_TEST_DATA "/encoding.txt")) {
    const std::string text = Unescape(row[1]) + "\x80";
    const std::optional<EncodingProblem> problem =
        FindEncodingProblem(std::string_view(text).substr(0, text.size() - 1));
    EXPECT_EQ(problem
                  ? kKinds[static_cast<int>(problem->kind)] + (":" + std::to_string(problem->line))
                  : "-",
              row[2])
        << row[0];
  }
}

// Our reader against what GetPrivateProfileStringA gives for the same files (lookup_probe checks
// the record under Wine).
TEST(LookupCorpus, OurReaderGivesWhatWindowsGives) {
  IniFileProfile profile;
  EXPECT_EQ(CorpusDifferences(profile, TAVREL_TEST_DATA "/corpus/lookup_values.txt", false), 0);
}

}  // namespace
}  // namespace tavrel
