#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/messages.h"
#include "platform/portable/ini_file_profile.h"
#include "tests/faults/description_bytes.h"
#include "tests/faults/engine_run.h"

namespace tavrel::faults {
namespace {

using namespace std::string_literals;
using description_bytes::RandomBytes;
using description_bytes::Utf16LittleEndianWithMark;

constexpr char kSystemA[] = R"(C:\WINDOWS\system32\a.dll)";
constexpr char kSystemB[] = R"(C:\WINDOWS\system32\b.dll)";
const std::string kComplete(kSetupComplete);

// The description that the engine asks for at C:\Setup\qxSetup.ini, read by our own lookup from a
// file of the host.
class HostDescription : public Profile {
 public:
  explicit HostDescription(std::filesystem::path host_path) : host_path_(std::move(host_path)) {}

  std::string GetString(const std::string& section, const std::string& key, const std::string& path,
                        std::size_t buffer_bytes) override {
    asked.push_back(key);
    if (path != kIniPath) return {};
    return reader_.GetString(section, key, host_path_.string(), buffer_bytes);
  }

  std::vector<std::string> asked;

 private:
  IniFileProfile reader_;
  std::filesystem::path host_path_;
};

struct BadInput {
  std::string name;
  std::string bytes;
  // What the lookup returns for these keys of BOOT.
  std::vector<std::pair<std::string, std::string>> values;
  ExitStatus status;
  std::vector<std::string> messages;
  std::vector<std::string> installed;  // the destinations that hold a source afterwards
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

// A value of exactly `size` bytes: a.dll, a long destination name, $SYSTEM and REGIST.
std::string ValueOfSize(std::size_t size) {
  const std::string head = "a.dll,";
  const std::string tail = ".dll,$SYSTEM,REGIST";
  return head + std::string(size - head.size() - tail.size(), 'n') + tail;
}

std::string SystemPath(const std::string& name) { return std::string(kSysDir) + "\\" + name; }

class BadDescriptionTest : public testing::TestWithParam<BadInput> {
 protected:
  BadDescriptionTest() {
    folder_ =
        std::filesystem::temp_directory_path() / ("bad_description_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    scenario_.folders = {kSysDir};
    scenario_.files[kIniPath] = {};
    scenario_.files[std::string(kAppPath) + R"(\a.dll)"] = {.bytes = "A"};
    scenario_.files[std::string(kAppPath) + R"(\b.dll)"] = {.bytes = "B"};
  }
  ~BadDescriptionTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path Write(const std::string& bytes) {
    const std::filesystem::path path = folder_ / "qxSetup.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
  }

  std::vector<std::string> Installed(const ObservedRun& run) const {
    std::vector<std::string> installed;
    for (const auto& [path, file] : run.files) {
      if (!scenario_.files.contains(path)) installed.push_back(path);
    }
    return installed;
  }

  std::filesystem::path folder_;
  Scenario scenario_;
};

TEST_P(BadDescriptionTest, TheLookupAndTheRunGiveTheDefinedResult) {
  const BadInput& input = GetParam();
  HostDescription description(Write(input.bytes));
  for (const auto& [key, value] : input.values) {
    EXPECT_EQ(description.GetString("BOOT", key, kIniPath, 1024), value) << key;
  }
  const ObservedRun run = RunEngine(scenario_, &description);
  EXPECT_EQ(run.status, input.status);
  std::vector<std::string> messages;
  for (const fake::ShownMessage& message : run.messages) messages.push_back(message.text);
  EXPECT_EQ(messages, input.messages);
  EXPECT_EQ(Installed(run), input.installed);
  EXPECT_EQ(run.open_files_at_end, 0);
  EXPECT_TRUE(run.temporaries.empty());
}

const std::string kShiftJisTest = "\x83\x65\x83\x58\x83\x67";  // テスト

INSTANTIATE_TEST_SUITE_P(
    Descriptions, BadDescriptionTest,
    testing::Values(
        BadInput{"Utf8MarkHidesBootOnTheFirstLine",
                 "\xEF\xBB\xBF[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\n",
                 {{"Copy1", ""}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {}},
        BadInput{"Utf8MarkBeforeAComment",
                 "\xEF\xBB\xBF; Tavrel\r\n[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        BadInput{
            "Utf16WithMarkIsReadAsText",
            Utf16LittleEndianWithMark(
                u"[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\nCopy2=\u30C6\u30B9\u30C8.dll,,$SYSTEM\r\n"),
            {{"Copy1", "a.dll,,$SYSTEM"}, {"Copy2", "テスト.dll,,$SYSTEM"}},
            ExitStatus::kFailed,
            {TwoLines(kCannotOpen, R"(C:\Setup\テスト.dll)")},
            {kSystemA}},
        BadInput{"ShiftJisNamesArriveAsText",
                 "[BOOT]\r\nCopy1=" + kShiftJisTest + ".dll,,$SYSTEM\r\n",
                 {{"Copy1", "テスト.dll,,$SYSTEM"}},
                 ExitStatus::kFailed,
                 {TwoLines(kCannotOpen, R"(C:\Setup\テスト.dll)")},
                 {}},
        BadInput{"LineFeedsAlone",
                 "[BOOT]\nCopy1=a.dll,,$SYSTEM\nCopy2=b.dll,,$SYSTEM\n",
                 {{"Copy2", "b.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA, kSystemB}},
        BadInput{"NulEndsTheValue",
                 "[BOOT]\r\nCopy1=a.dll,,$SYSTEM\0,REGIST\r\nCopy2=b.dll,,$SYSTEM\r\n"s,
                 {{"Copy1", "a.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA, kSystemB}},
        BadInput{"RandomBytesHoldNoEntries",
                 RandomBytes(4096),
                 {{"Copy1", ""}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {}},
        BadInput{"RandomBytesBeforeTheSection",
                 RandomBytes(4096) + "x\r\n[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        // A lead byte takes the line feed after it as its second byte: the next line joins the
        // value, and its key is gone.
        BadInput{"LeadByteBeforeALineFeed",
                 "[BOOT]\nCopy1=a.dll,,$SYSTEM,\x82\nCopy2=b.dll,,$SYSTEM\n",
                 {{"Copy2", ""}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        BadInput{"ValueOf1023BytesIsWhole",
                 "[BOOT]\r\nCopy1=" + ValueOfSize(1023) + "\r\n",
                 {{"Copy1", ValueOfSize(1023)}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {SystemPath(std::string(1023 - 25, 'n') + ".dll")}},
        // Cut to "REGIS": installed and not registered, without a word.
        BadInput{"ValueOf1024BytesLosesItsLastByte",
                 "[BOOT]\r\nCopy1=" + ValueOfSize(1024) + "\r\n",
                 {{"Copy1", ValueOfSize(1024).substr(0, 1023)}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {SystemPath(std::string(1024 - 25, 'n') + ".dll")}},
        // Cut inside the destination name: no folder field is left, and "\nnn..." cannot be made.
        BadInput{"ValueOf5000BytesIsCutInsideAField",
                 "[BOOT]\r\nCopy1=" + ValueOfSize(5000) + "\r\n",
                 {{"Copy1", ValueOfSize(5000).substr(0, 1023)}},
                 ExitStatus::kFailed,
                 {TwoLines(kCannotCreate, "\\" + std::string(1017, 'n'))},
                 {}},
        BadInput{"ValueCutInsideADoubleByteCharacterEndsBeforeIt",
                 "[BOOT]\r\nCopy1=a.dll,,$SYSTEM," + std::string(1008, 'x') + "\x82\xA0\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM," + std::string(1008, 'x')}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        BadInput{"NamesMatchInAnyCaseButValuesKeepTheirs",
                 "[boot]\r\ncopy1=a.dll,,$SYSTEM,regist\r\nCOPY2=b.dll,,$system\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM,regist"}},
                 ExitStatus::kFailed,
                 {TwoLines(kCannotCreate, R"($system\b.dll)")},
                 {kSystemA}},
        BadInput{"TheFirstOfTwoEqualKeysCounts",
                 "[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\nCopy1=b.dll,,$SYSTEM\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        BadInput{"OnlyTheFirstBootSectionIsRead",
                 "[BOOT]\r\nCopy1=a.dll,,$SYSTEM\r\n[BOOT]\r\nCopy2=b.dll,,$SYSTEM\r\n",
                 {{"Copy2", ""}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        // Spaces around "=" and the value go; spaces inside it stay, and " b.dll " names no file.
        BadInput{"SpacesAroundTheEqualsSign",
                 "[BOOT]\r\n  Copy1  =  a.dll,,$SYSTEM  \r\nCopy2=b.dll , ,$SYSTEM\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM"}, {"Copy2", "b.dll , ,$SYSTEM"}},
                 ExitStatus::kFailed,
                 {TwoLines(kCannotOpen, R"(C:\Setup\b.dll )")},
                 {kSystemA}},
        BadInput{"QuotesAroundTheValueGo",
                 "[BOOT]\r\nCopy1=\"a.dll,,$SYSTEM\"\r\n",
                 {{"Copy1", "a.dll,,$SYSTEM"}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {kSystemA}},
        BadInput{"NoBootSection",
                 "[SETUP]\r\nCopy1=a.dll,,$SYSTEM\r\n",
                 {{"Copy1", ""}},
                 ExitStatus::kCompleted,
                 {kComplete},
                 {}},
        BadInput{"EmptyFile", "", {{"Copy1", ""}}, ExitStatus::kCompleted, {kComplete}, {}}),
    [](const testing::TestParamInfo<BadInput>& named) { return named.param.name; });

// Entry 32767 is the last one asked for: an entry 32768 that names no file is never read.
TEST_F(BadDescriptionTest, ThirtyTwoThousandSevenHundredSixtySevenEntries) {
  scenario_.files[kSystemA] = {.bytes = "A"};
  std::string bytes = "[BOOT]\r\n";
  for (int n = 1; n <= 32767; ++n) bytes += "Copy" + std::to_string(n) + "=a.dll,,$SYSTEM\r\n";
  bytes += "Copy32768=missing.dll,,$SYSTEM\r\n";
  HostDescription description(Write(bytes));
  const ObservedRun run = RunEngine(scenario_, &description);
  EXPECT_EQ(run.status, ExitStatus::kCompleted);
  ASSERT_EQ(description.asked.size(), 32767u);
  EXPECT_EQ(description.asked.back(), "Copy32767");
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0].text, kComplete);
}

}  // namespace
}  // namespace tavrel::faults
