#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <tuple>

#include "platform/portable/cp932_text.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/check_command.h"
#include "tools/tavrel-check/encoding_check.h"
#include "tools/tavrel-check/tests/test_data.h"

namespace tavrel {
namespace {

CheckOutput Check(const std::string& folder, bool json, Language language) {
  IniFileProfile profile;
  return RunCheck(CheckOptions{.json = json, .win_dir = {}, .sys_dir = {}, .folder = folder},
                  CheckHost{.profile = profile,
                            .win_dir = "C:\\Windows",
                            .sys_dir = "C:\\Windows\\system32",
                            .language = language,
                            .ansi_to_utf8 = Cp932ToUtf8});
}

// Each row of findings.txt: a folder, and the codes of its JSON report's warnings.
TEST(Findings, EachFolderGetsItsWarningsAndStatus) {
  static const std::regex kWarning(R"re(\{"code": "([a-z-]+)"(, "n": (\d+))?)re");
  for (const std::vector<std::string>& row : ReadRows(TAVREL_TEST_DATA "/findings.txt")) {
    const std::string folder = "findings/" + row[0];
    std::filesystem::remove_all(folder);
    for (std::size_t i = 3; i < row.size(); ++i) {
      const std::size_t equals = row[i].find('=');
      WriteFile(folder + "/" + row[i].substr(0, equals), Unescape(row[i].substr(equals + 1)));
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
  EXPECT_EQ(FillIn("{2} after {1}", {"a", "b"}), "b after a");
  EXPECT_EQ(FillIn("{3} {x} {0} {", {"a"}), "{3} {x} {0} {");
}

TEST(FindEncodingProblem, TellsFilesThatWereNotSavedAsShiftJis) {
  using enum EncodingProblem::Kind;
  const std::tuple<std::string, std::optional<EncodingProblem::Kind>, int> cases[] = {
      {"", std::nullopt, 0},
      {"[BOOT]\r\nCopy1=a.dll\r\n", std::nullopt, 0},
      {"\x83\x65\x83\x58\x83\x67\x81\x7E\x81\xFC\x81\x40\x81\x80", std::nullopt, 0},  // テスト×◯　÷
      {"Copy1=\xC3(", std::nullopt, 0},                 // "ﾃ(", no UTF-8 sequence
      {"Copy1=\xA1\xB1\xDF.dll\r\n", std::nullopt, 0},  // half-width katakana
      {"\xEF\xBB\xBF[BOOT]\r\n", kUtf8Mark, 1},
      {"\xFF\xFE[\0", kUtf16Mark, 1},
      {"\xFE\xFF\0[", kUtf16Mark, 1},
      // "テスト" in UTF-8 happens to be well-formed Shift-JIS as well.
      {"[BOOT]\r\n\r\nCopy1=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.dll\r\n", kUtf8Text, 3},
      {"[BOOT]\r\nCopy1=caf\xC3\xA9\r\n", kUtf8Text, 2},
      {"\xF4\x8F\xBF\xBF", kUtf8Text, 1},                              // the last code point
      {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xF0\x90\x80\x80", kUtf8Text, 1},  // lead bytes at the edges
      {"[BOOT]\r\nCopy1=a\x80\r\n", kNotShiftJis, 2},
      {"a\n\x82 b", kNotShiftJis, 2},  // a lead byte without its second byte
      {"a\n\x82", kNotShiftJis, 2},
      {"\x83\x65\n\xFD", kNotShiftJis, 2},
  };
  for (const auto& [bytes, kind, line] : cases) {
    const std::optional<EncodingProblem> problem = FindEncodingProblem(bytes);
    EXPECT_EQ(problem ? std::optional(problem->kind) : std::nullopt, kind) << bytes;
    EXPECT_EQ(problem ? problem->line : 0, line) << bytes;
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
