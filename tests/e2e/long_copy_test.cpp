// A run with a copy long enough to act during it: the progress window as the person sees it,
// a second OK that must start nothing, and Cancel, which must stop the run cleanly.

#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/driver/call_log.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/picture.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/expected_looks.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;

// Large enough that the copy, in chunks of 16384 bytes, outlasts the checks made during it
// (about four seconds here), and below the 2 GiB that the copy's 32-bit length allows.
constexpr std::uint64_t kLongSourceSize = 1536ull << 20;

TEST(LongCopy, ProgressWindowAndStop) {
  CaseFolder folder("LongCopy");
  const fs::path destination = folder.Destination("dest");
  WriteZeros(folder.app() / L"big.bin", kLongSourceSize);
  SetLastWrite(folder.app() / L"big.bin", StampOfDay(20));
  WriteBytes(destination / L"big.bin", "old contents");
  SetLastWrite(destination / L"big.bin", StampOfDay(10));
  folder.WriteSetupDescription("[BOOT]\r\nCopy1=big.bin,," + Utf8(destination.wstring()) + "\r\n");

  TavrelProcess process(folder.exe(), folder.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";
  PressButton(form, kCommand1);
  HWND wait = WaitForWindow(process.id(), kFrmWaitClass);
  ASSERT_TRUE(wait) << "no progress window";

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
  ExpectLabelDrawn(wait, kProgressLabel, ProgressLabelLook(), folder.root());
  SaveBmp(CaptureWindow(wait), folder.root() / L"frmWait.bmp");

  // A second run inside the first would ask the support library about big.bin once more.
  PressButton(form, kCommand1);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(WaitForMessageBox(process.id(), std::chrono::milliseconds(0)));
  ASSERT_FALSE(process.WaitForExit(std::chrono::milliseconds(0)))
      << "the copy ended before Cancel; make the source larger";

  PressButton(form, kCommand2);
  EXPECT_EQ(process.WaitForExit(kDeadline), kStopped);
  ASSERT_EQ(fs::file_size(destination / L"big.bin"), 12u) << "the old file is lost";
  EXPECT_EQ(ReadBytes(destination / L"big.bin"), "old contents");
  EXPECT_EQ(LastWrite(destination / L"big.bin"), StampOfDay(10));
  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(destination)) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{destination / L"big.bin"}) << "a temporary file is left";
  const std::vector<LoggedCall> calls = ReadCallLog(folder.log());
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0][0], "CompareVersion");
  fs::remove(folder.app() / L"big.bin");
}

}  // namespace
}  // namespace tavrel::e2e
