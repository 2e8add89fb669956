#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tools/tavrel-check/tests/check_folder.h"

namespace tavrel {
namespace {

struct FindingsCase {
  const char* what;
  std::string description;
  std::vector<std::string> files;     // present in the program folder
  std::vector<std::string> expected;  // "code" or "code:n", in the order reported
};

// The codes of the JSON report, with their entry numbers.
std::vector<std::string> ReportedCodes(const std::string& json) {
  static const std::regex kWarning(R"re(\{"code": "([a-z-]+)"(, "n": (\d+))?)re");
  std::vector<std::string> codes;
  for (auto match = std::sregex_iterator(json.begin(), json.end(), kWarning);
       match != std::sregex_iterator(); ++match) {
    codes.push_back((*match)[1].str() + ((*match)[3].matched ? ":" + (*match)[3].str() : ""));
  }
  return codes;
}

const std::string kBoot = "[BOOT]\r\n";

TEST(Findings, EachCheckReportsWhatApplies) {
  const FindingsCase cases[] = {
      {"clean",
       kBoot + "Copy1=a.dll,,$SYSTEM,REGIST\r\nCopy2=b.ocx,c.ocx,$WIN\\sub\r\n",
       {"a.dll", "b.ocx"},
       {}},
      {"section name in any case", "[boot]\r\nCopy1=a.dll,,$SYSTEM\r\n", {"a.dll"}, {}},
      {"no BOOT section", "[Setup]\r\nCopy1=a.dll,,$SYSTEM\r\n", {"a.dll"}, {"no-boot-section"}},
      {"gap",
       kBoot + "Copy1=a.dll,,$SYSTEM\r\nCopy2=a.dll,,$WIN\r\nCopy4=a.dll,,$WIN\r\n",
       {"a.dll"},
       {"after-gap:4"}},
      {"empty value ends the walk",
       kBoot + "Copy1=a.dll,,$SYSTEM\r\nCopy2=\"\"\r\nCopy3=a.dll,,$WIN\r\n",
       {"a.dll"},
       {"after-gap:3"}},
      {"keys never asked for",
       kBoot +
           "Copy1=a.dll,,$SYSTEM\r\nCopy01=x\r\nCopy0=x\r\nCopy32768=x\r\nFile1=x\r\n;Copy2=x\r\n",
       {"a.dll"},
       {"unread-key", "unread-key", "unread-key", "unread-key"}},
      {"key in a second BOOT section",
       kBoot + "Copy1=a.dll,,$SYSTEM\r\n[Boot]\r\nCopy2=a.dll,,$WIN\r\n",
       {"a.dll"},
       {"unread-key"}},
      {"key given twice",
       kBoot + "Copy1=a.dll,,$SYSTEM\r\nCOPY1=b.dll,,$SYSTEM\r\n",
       {"a.dll"},
       {"duplicate-key:1"}},
      {"keywords not quite written",
       kBoot + "Copy1=a.dll,,$system\r\nCopy2=a.dll,, $WIN\r\nCopy3=a.dll,,$Win\\sub\r\n",
       {"a.dll"},
       {"keyword-case:1", "relative-folder:1", "keyword-case:2", "relative-folder:2",
        "keyword-case:3", "relative-folder:3"}},
      {"REGIST not quite written",
       kBoot + "Copy1=a.dll,,$SYSTEM,regist\r\nCopy2=a.dll,,$SYSTEM, "
               "REGIST\r\nCopy3=a.dll,,$SYSTEM,REGISTER\r\n",
       {"a.dll"},
       {"regist-near-miss:1", "regist-near-miss:2"}},
      {"more than four fields",
       kBoot + "Copy1=a.dll,,$SYSTEM,REGIST,x\r\nCopy2=a.dll,,$SYSTEM,,\r\n",
       {"a.dll"},
       {"extra-fields:1", "extra-fields:2"}},
      {"over 1023 bytes",
       kBoot + "Copy1=a.dll,,$SYSTEM\\" + std::string(1010, 'x') + "\r\n",
       {"a.dll"},
       {"too-long:1"}},
      {"exactly 1023 bytes",
       kBoot + "Copy1=a.dll,,$SYSTEM\\" + std::string(1004, 'x') + "\r\n",
       {"a.dll"},
       {}},
      {"empty source",
       kBoot + "Copy1=,b.dll,$SYSTEM\r\n",
       {"b.dll"},
       {"empty-source:1", "missing-source:1"}},
      {"missing source",
       kBoot + "Copy1=a.dll,,$SYSTEM\r\nCopy2=x.dll,,$SYSTEM\r\n",
       {"a.dll"},
       {"missing-source:2"}},
      {"source names ignore letter case",
       kBoot + "Copy1=A.DLL,,$SYSTEM\r\nCopy2=Sub\\B.dll,,$SYSTEM\r\n",
       {"a.dll", "sub/b.dll"},
       {}},
      {"a folder is no source",
       kBoot + "Copy1=sub,,$SYSTEM\r\nCopy2=sub\\,,$SYSTEM\r\n",
       {"sub/b.dll"},
       {"missing-source:1", "missing-source:2"}},
      {"folders that hang on the current drive",
       kBoot + "Copy1=a.dll\r\nCopy2=a.dll,,sub\r\nCopy3=a.dll,,\\Windows\r\nCopy4=a.dll,,C:x\r\n"
               "Copy5=a.dll,,D:\\x\r\nCopy6=a.dll,,\\\\server\\share\r\n",
       {"a.dll"},
       {"relative-folder:1", "relative-folder:2", "relative-folder:3", "relative-folder:4"}},
      {"UTF-8 byte-order mark",
       "\xEF\xBB\xBF[Note]\r\n" + kBoot + "Copy1=a.dll,,$SYSTEM\r\n",
       {"a.dll"},
       {"encoding"}},
      {"UTF-8 byte-order mark before BOOT",
       "\xEF\xBB\xBF" + kBoot + "Copy1=a.dll,,$SYSTEM\r\n",
       {"a.dll"},
       {"encoding", "no-boot-section"}},
      {"UTF-8 without a mark",
       kBoot + "Copy1=\xE3\x83\x86.dll,,$SYSTEM\r\n",
       {"\xE3\x83\x86.dll"},
       {"encoding", "missing-source:1"}},
      {"not Shift-JIS", kBoot + "Copy1=a.dll,,$SYSTEM\r\n;\x80\r\n", {"a.dll"}, {"encoding"}},
      {"Shift-JIS", kBoot + "Copy1=\x83\x65\x83\x58\x83\x67.dll,,$SYSTEM\r\n", {"テスト.dll"}, {}},
      {"UTF-16",
       std::string("\xFF\xFE[\0B\0O\0O\0T\0]\0\n\0C\0o\0p\0y\0"
                   "1\0=\0a\0,\0,\0C\0:\0\\\0",
                   40),
       {"a"},
       {"encoding"}},
      {"every check on one entry",
       kBoot + "Copy1=,,x, regist,y\r\nCopy1=z\r\nCopy3=a\r\n",
       {},
       {"empty-source:1", "missing-source:1", "relative-folder:1", "regist-near-miss:1",
        "extra-fields:1", "duplicate-key:1", "after-gap:3"}},
  };
  for (const FindingsCase& c : cases) {
    CheckFolder folder;
    folder.WriteDescription(c.description);
    for (const std::string& file : c.files) folder.Write(file, "");
    const CheckOutput output = folder.Check(/*json=*/true);
    EXPECT_EQ(ReportedCodes(output.out), c.expected) << c.what << "\n" << output.out;
    EXPECT_EQ(output.status, c.expected.empty() ? CheckStatus::kClean : CheckStatus::kWarnings)
        << c.what;
  }
}

TEST(Findings, AMissingDescriptionIsNoPlan) {
  CheckFolder folder;
  CheckOutput output = folder.Check(/*json=*/false);
  EXPECT_EQ(output.status, CheckStatus::kNoDescription);
  EXPECT_EQ(output.out, "");
  EXPECT_NE(output.error.find("qxSetup.ini"), std::string::npos);

  folder.Write("qxSetup.ini/inside", "");  // a folder by that name
  EXPECT_EQ(folder.Check(false).status, CheckStatus::kNoDescription);
}

TEST(Findings, TheDescriptionNameIgnoresLetterCase) {
  CheckFolder folder;
  folder.Write("QXSETUP.INI", kBoot + "Copy1=a.dll,,$SYSTEM\r\n");
  folder.Write("a.dll", "");
  EXPECT_EQ(folder.Check(false).status, CheckStatus::kClean);
}

TEST(Findings, MessagesSayWhere) {
  CheckFolder folder;
  folder.WriteDescription("[BOOT]\r\nCopy1=a.dll,,$SYSTEM\\" + std::string(1000, 'x') +
                          "0123456789abcdefghij,REGIST\r\nCopy2=a.dll\r\n");
  folder.Write("a.dll", "");
  const std::string report = folder.Check(/*json=*/false).out;
  EXPECT_NE(report.find("[too-long] Copy1: The value is longer than 1023 bytes in the ANSI code "
                        "page: it arrives cut in field 3, after \"xxxxxxxx01234567\"."),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("[relative-folder] Copy2: The folder field is empty: the destination is "
                        "\"\\a.dll\""),
            std::string::npos)
      << report;
}

}  // namespace
}  // namespace tavrel
