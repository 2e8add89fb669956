// A run with a copy long enough to act during it: the progress window as the person sees it,
// a second OK that must start nothing, and Cancel, which must stop the run cleanly.

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/call_log.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/picture.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/expected_looks.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;

// Large enough that the copy, in chunks of 16384 bytes, far outlasts the checks made during it,
// and below the 2 GiB that the copy's 32-bit length allows. Made as a hole: it costs no disk.
constexpr std::uint64_t kLongSourceSize = 1536ull << 20;

class LongCopy : public testing::Test {
 protected:
  LongCopy()
      : folder_(testing::UnitTest::GetInstance()->current_test_info()->name()),
        destination_(folder_.Destination("dest")) {
    WriteZeros(folder_.app() / L"big.bin", kLongSourceSize);
    SetLastWrite(folder_.app() / L"big.bin", StampOfDay(20));
    WriteBytes(destination_ / L"big.bin", "old contents");
    SetLastWrite(destination_ / L"big.bin", StampOfDay(10));
    folder_.WriteSetupDescription("[BOOT]\r\nCopy1=big.bin,," + WideToUtf8(destination_.wstring()) +
                                  "\r\n");
  }
  ~LongCopy() override {
    process_.reset();
    std::error_code ignored;
    fs::remove(folder_.app() / L"big.bin", ignored);
  }

  // Starts the program and presses OK, and returns once the copy is under way: the new bytes'
  // file stands beside the destination. A stop asked for earlier, while the progress window has
  // just come up, ends the run before the copy, which is right but not what these tests are for.
  void StartCopy() {
    process_.emplace(folder_.exe(), folder_.log());
    form_ = WaitForWindow(process_->id(), kForm1Class);
    ASSERT_TRUE(form_) << "no main window";
    PressButton(form_, kCommand1);
    wait_ = WaitForWindow(process_->id(), kFrmWaitClass);
    ASSERT_TRUE(wait_) << "no progress window";
    ASSERT_TRUE(Eventually([&] {
      return std::distance(fs::directory_iterator(destination_), fs::directory_iterator()) > 1;
    })) << "the copy did not start";
  }

  // After a stop: status 2, the old destination as it was, nothing else in its folder, and no
  // date carried over.
  void ExpectStoppedCleanly() {
    EXPECT_EQ(process_->WaitForExit(kDeadline), kStopped);
    ASSERT_EQ(fs::file_size(destination_ / L"big.bin"), 12u) << "the old file is lost";
    EXPECT_EQ(ReadBytes(destination_ / L"big.bin"), "old contents");
    EXPECT_EQ(LastWrite(destination_ / L"big.bin"), StampOfDay(10));
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(destination_)) left.push_back(entry.path());
    EXPECT_EQ(left, std::vector<fs::path>{destination_ / L"big.bin"}) << "a temporary file is left";
    const std::vector<LoggedCall> calls = ReadCallLog(folder_.log());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0][0], "CompareVersion");
  }

  CaseFolder folder_;
  fs::path destination_;
  std::optional<TavrelProcess> process_;
  HWND form_ = nullptr;
  HWND wait_ = nullptr;
};

TEST_F(LongCopy, ProgressWindowSecondOkAndCancel) {
  ASSERT_NO_FATAL_FAILURE(StartCopy());
  HWND wait = wait_;
  EXPECT_EQ(WindowText(wait), L"");
  const LONG style = GetWindowLongW(wait, GWL_STYLE);
  const LONG ex_style = GetWindowLongW(wait, GWL_EXSTYLE);
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "a title bar shows";
  EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE((ex_style & WS_EX_TOOLWINDOW) || GetWindow(wait, GW_OWNER))
      << "the progress window would show in the taskbar";
  EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
  const SIZE client = ClientSize(wait);
  EXPECT_EQ(client.cx, Scaled(275));
  EXPECT_EQ(client.cy, Scaled(78));
  ExpectCentred(wait);
  EXPECT_EQ(ControlRect(wait, kProgressLabel), ScaledRect(48, 32, 185, 25));
  ExpectBackground(wait, kLightCyan);
  ExpectLabelDrawn(wait, kProgressLabel, ProgressLabelLook(), folder_.root());
  SaveBmp(CaptureWindow(wait), folder_.root() / L"frmWait.bmp");

  // A second run inside the first would ask the support library about big.bin once more.
  PressButton(form_, kCommand1);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(WaitForMessageBox(process_->id(), std::chrono::milliseconds(0)));
  ASSERT_FALSE(process_->WaitForExit(std::chrono::milliseconds(0)))
      << "the copy ended before Cancel; make the source larger";

  PressButton(form_, kCommand2);
  ExpectStoppedCleanly();
}

TEST_F(LongCopy, CloseBoxStopsTheRun) {
  ASSERT_NO_FATAL_FAILURE(StartCopy());
  PostMessageW(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ExpectStoppedCleanly();
}

}  // namespace
}  // namespace tavrel::e2e
