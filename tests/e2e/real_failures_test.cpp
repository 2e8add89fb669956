// Copies that the file system itself makes fail, under Wine: each shows its message and ends the
// program, and none loses anything: the old destination keeps its bytes and its date, and no
// temporary file stays beside it. A stop in the middle of a long copy loses nothing either.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/artefacts.h"
#include "tests/e2e/driver/call_log.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/held_file.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/windows.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;

constexpr char kCannotOpen[] = "ﾌｧｲﾙが開けません";
constexpr char kCannotCreate[] = "ﾌｧｲﾙが作成できません";
constexpr char kCannotWrite[] = "ﾌｧｲﾙに書き込めません";

// An older copy standing at a destination before the run, to be found as it was afterwards.
class OldCopy {
 public:
  explicit OldCopy(fs::path file) : file_(std::move(file)) {
    WriteBytes(file_, "old contents of " + file_.filename().string());
    SetLastWrite(file_, StampOfDay(10));
    bytes_ = ReadBytes(file_);
  }

  const fs::path& file() const { return file_; }

  // Its bytes and date as before, and nothing else in its folder: no temporary file is left.
  void ExpectIntactAndAlone() const {
    ASSERT_TRUE(fs::exists(file_)) << "the old copy is lost";
    EXPECT_TRUE(ReadBytes(file_) == bytes_) << "the old copy's bytes changed";
    EXPECT_EQ(LastWrite(file_), StampOfDay(10));
    EXPECT_EQ(EntriesIn(file_.parent_path()), std::vector<fs::path>{file_})
        << "something is left beside the old copy";
  }

 private:
  fs::path file_;
  std::string bytes_;
};

// Presses OK on a started program and answers its messages until it ends.
RunRecord RunToTheEnd(TavrelProcess& process) {
  HWND form = WaitForWindow(process.id(), kForm1Class);
  if (!form) return {};
  PressButton(form, kCommand1);
  return AnswerMessagesUntilExit(process, std::chrono::seconds(30));
}

// The one message of a failed copy: the message, a carriage return, the path; no icon.
void ExpectFailureMessage(const RunRecord& run, const std::string& message, const fs::path& path) {
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(WideToUtf8(run.messages[0].text), message + "\r" + WideToUtf8(path.wstring()));
  EXPECT_EQ(run.messages[0].title, L"Tavrel");
  EXPECT_FALSE(run.messages[0].has_icon);
  EXPECT_EQ(run.exit_status, kFailed);
}

bool DateCarriedOver(const fs::path& log) {
  for (const LoggedCall& call : ReadCallLog(log)) {
    if (call[0] == "CopyFileDateTime") return true;
  }
  return false;
}

enum class Hold { kNothing, kSource, kDestination };

struct FailureCase {
  const char* name;
  Hold hold;
  bool read_only_destination;
  bool destination_folder_exists;
  const char* message;
  bool message_names_source;
};

const FailureCase kFailureCases[] = {
    // Windows refuses to replace a read-only file; the engine refuses under Wine as well.
    {"read_only_destination", Hold::kNothing, true, true, kCannotCreate, false},
    // Opened elsewhere without sharing: the new copy cannot take its place.
    {"destination_held_open", Hold::kDestination, false, true, kCannotCreate, false},
    {"source_held_open", Hold::kSource, false, true, kCannotOpen, true},
    {"destination_folder_missing", Hold::kNothing, false, false, kCannotCreate, false},
};

class RealFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(RealFailure, IsToldAndLosesNothing) {
  const FailureCase& c = GetParam();
  CaseFolder folder(c.name);
  const fs::path source = folder.app() / L"a.bin";
  WritePattern(source, 40000, 1);
  SetLastWrite(source, StampOfDay(20));
  const fs::path destination_folder =
      c.destination_folder_exists ? folder.Destination("dest") : folder.root() / L"missing";
  const fs::path destination = destination_folder / L"a.bin";
  std::optional<OldCopy> old_copy;
  if (c.destination_folder_exists) old_copy.emplace(destination);
  if (c.read_only_destination) SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_READONLY);
  folder.WriteSetupDescription("[BOOT]\r\nCopy1=a.bin,," +
                               WideToUtf8(destination_folder.wstring()) + "\r\n");

  std::optional<HeldFile> held;
  if (c.hold != Hold::kNothing) held.emplace(c.hold == Hold::kSource ? source : destination);
  TavrelProcess process(folder.exe(), folder.log());
  const RunRecord run = RunToTheEnd(process);
  held.reset();

  ExpectFailureMessage(run, c.message, c.message_names_source ? source : destination);
  EXPECT_FALSE(DateCarriedOver(folder.log()));
  if (old_copy) {
    old_copy->ExpectIntactAndAlone();
    EXPECT_EQ((GetFileAttributesW(destination.c_str()) & FILE_ATTRIBUTE_READONLY) != 0,
              c.read_only_destination);
  } else {
    EXPECT_FALSE(fs::exists(destination_folder)) << "a folder was created";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RealFailure, testing::ValuesIn(kFailureCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A drive that runs out of room in the middle of the copy: the write fails, the part written is
// deleted, and the old copy on that drive stays.
TEST(RealFailureOnDisk, FullDisk) {
  const fs::path drive = FullDiskDrive();
  ULARGE_INTEGER free_bytes{};
  if (!GetDiskFreeSpaceExW(drive.c_str(), &free_bytes, nullptr, nullptr)) {
    GTEST_SKIP() << "no drive " << drive.string()
                 << ": fault_disks.sh could not mount a tmpfs for it (mounting needs root)";
  }
  ASSERT_LT(free_bytes.QuadPart, 4u << 20) << drive.string() << " is not the small full-disk drive";
  CaseFolder folder("full_disk");
  const fs::path destination_folder = drive / L"full_disk";
  fs::remove_all(destination_folder);
  fs::create_directories(destination_folder);
  const OldCopy old_copy(destination_folder / L"big.bin");
  const fs::path source = folder.app() / L"big.bin";
  WritePattern(source, free_bytes.QuadPart + (1u << 20), 2);
  SetLastWrite(source, StampOfDay(20));
  folder.WriteSetupDescription("[BOOT]\r\nCopy1=big.bin,," +
                               WideToUtf8(destination_folder.wstring()) + "\r\n");

  TavrelProcess process(folder.exe(), folder.log());
  ExpectFailureMessage(RunToTheEnd(process), kCannotWrite, old_copy.file());
  old_copy.ExpectIntactAndAlone();
  fs::remove_all(destination_folder);
}

// Beyond MAX_PATH: Tavrel is not declared long-path aware, so Windows would refuse such a
// destination with "ﾌｧｲﾙが作成できません"; Wine has no such limit, and the copy is made whole.
TEST(RealFailureOnDisk, DestinationPathLongerThanMaxPath) {
  CaseFolder folder("long_path");
  fs::path destination_folder = folder.Destination("dest");
  for (const wchar_t letter : {L'x', L'y', L'z'}) {
    destination_folder /= std::wstring(100, letter);
  }
  fs::create_directories(destination_folder);
  const OldCopy old_copy(destination_folder / L"a.bin");
  ASSERT_GT(old_copy.file().wstring().size(), 300u);
  const fs::path source = folder.app() / L"a.bin";
  WritePattern(source, 40000, 3);
  SetLastWrite(source, StampOfDay(20));
  folder.WriteSetupDescription("[BOOT]\r\nCopy1=a.bin,," +
                               WideToUtf8(destination_folder.wstring()) + "\r\n");

  TavrelProcess process(folder.exe(), folder.log());
  const RunRecord run = RunToTheEnd(process);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(WideToUtf8(run.messages[0].text), "セットアップが完了しました。");
  EXPECT_EQ(run.exit_status, kCompleted);
  EXPECT_TRUE(ReadBytes(old_copy.file()) == ReadBytes(source));
  EXPECT_EQ(LastWrite(old_copy.file()), StampOfDay(20));
  EXPECT_EQ(EntriesIn(destination_folder), std::vector<fs::path>{old_copy.file()});
}

// Cancel while 1 GiB of real data is being copied: the run stops at the next chunk, the part
// written is deleted, and the old copy stays.
TEST(RealFailureOnDisk, CancelInTheMiddleOfOneGib) {
  ASSERT_TRUE(fs::exists(OneGibSource())) << "fault_disks.sh did not make " << OneGibSource();
  CaseFolder folder("cancel_one_gib");
  const fs::path source = folder.app() / L"big.bin";
  // A second name for the fixture's file: no copy of 1 GiB is made to lay the case out.
  fs::create_hard_link(OneGibSource(), source);
  SetLastWrite(source, StampOfDay(20));
  const fs::path destination_folder = folder.Destination("dest");
  const OldCopy old_copy(destination_folder / L"big.bin");
  folder.WriteSetupDescription("[BOOT]\r\nCopy1=big.bin,," +
                               WideToUtf8(destination_folder.wstring()) + "\r\n");

  std::optional<TavrelProcess> process(std::in_place, folder.exe(), folder.log());
  HWND form = WaitForWindow(process->id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";
  PressButton(form, kCommand1);
  // Well under way: 64 MiB of the new bytes stand in the temporary file.
  constexpr std::uintmax_t kUnderWay = 64u << 20;
  const bool under_way = Eventually(
      [&] {
        for (const fs::path& entry : EntriesIn(destination_folder)) {
          std::error_code growing;
          if (entry != old_copy.file() && fs::file_size(entry, growing) >= kUnderWay) return true;
        }
        return false;
      },
      std::chrono::seconds(30));
  ASSERT_TRUE(under_way) << "the copy did not get under way";
  ASSERT_FALSE(process->WaitForExit(std::chrono::milliseconds(0))) << "the copy ended first";
  PressButton(form, kCommand2);

  EXPECT_EQ(process->WaitForExit(kDeadline), kStopped);
  process.reset();
  old_copy.ExpectIntactAndAlone();
  EXPECT_FALSE(DateCarriedOver(folder.log()));
  fs::remove(source);
}

}  // namespace
}  // namespace tavrel::e2e
