// The main window as the person sees it before OK, and the ways to leave it.

#include <gtest/gtest.h>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/picture.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/windows.h"
#include "tests/e2e/expected_looks.h"

namespace tavrel::e2e {
namespace {

struct ControlLook {
  int id;
  const wchar_t* class_name;
  const wchar_t* text;
  RECT at_96_dpi;  // left, top, width, height
};

class MainWindow : public testing::Test {
 protected:
  MainWindow() : folder_(testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  // A folder where a run would have work to do: a newer source and an older destination.
  void LayOutWork() {
    destination_ = folder_.Destination("dest");
    WriteBytes(folder_.app() / L"new.txt", "new contents");
    SetLastWrite(folder_.app() / L"new.txt", StampOfDay(20));
    WriteBytes(destination_ / L"new.txt", "old contents");
    SetLastWrite(destination_ / L"new.txt", StampOfDay(10));
    folder_.WriteSetupDescription("[BOOT]\r\nCopy1=new.txt,," + WideToUtf8(destination_.wstring()) +
                                  "\r\n");
  }

  void ExpectNothingTouched() {
    EXPECT_EQ(ReadBytes(destination_ / L"new.txt"), "old contents");
    EXPECT_EQ(LastWrite(destination_ / L"new.txt"), StampOfDay(10));
    EXPECT_FALSE(std::filesystem::exists(folder_.log())) << "the support library was called";
  }

  CaseFolder folder_;
  std::filesystem::path destination_;
};

TEST_F(MainWindow, LooksAsDesigned) {
  ASSERT_EQ(ScreenDpi(), ExpectedDpi()) << "the Wine prefix is not set up for this DPI";
  TavrelProcess process(folder_.exe(), folder_.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";

  EXPECT_EQ(WindowText(form), L"ランタイムセットアッップ");
  const SIZE client = ClientSize(form);
  EXPECT_EQ(client.cx, Scaled(299));
  EXPECT_EQ(client.cy, Scaled(114));
  const LONG style = GetWindowLongW(form, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << std::hex << style;
  ExpectCentred(form);

  const LabelLook label1 = Label1Look();
  const ControlLook controls[] = {
      {kCommand1, L"Button", L"OK", {48, 64, 81, 25}},
      {kCommand2, L"Button", L"Cancel", {176, 64, 89, 25}},
      {kLabel1, L"Static", label1.text.c_str(), {80, 16, 153, 25}},
  };
  for (const ControlLook& control : controls) {
    SCOPED_TRACE(control.id);
    HWND window = GetDlgItem(form, control.id);
    ASSERT_TRUE(window);
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    EXPECT_EQ(_wcsicmp(class_name, control.class_name), 0) << WideToUtf8(class_name);
    EXPECT_EQ(WindowText(window), control.text);
    const RECT& r = control.at_96_dpi;
    EXPECT_EQ(ControlRect(form, control.id), ScaledRect(r.left, r.top, r.right, r.bottom));
  }
  // The window becomes active a moment after it shows.
  EXPECT_TRUE(Eventually([&] { return FocusedWindow(form) == GetDlgItem(form, kCommand1); }))
      << "OK has not the focus";
  ExpectBackground(form, kLightCyan);
  ExpectLabelDrawn(form, kLabel1, label1, folder_.root());
  SaveBmp(CaptureWindow(form), folder_.root() / L"Form1.bmp");

  PressButton(form, kCommand2);
  EXPECT_EQ(process.WaitForExit(kDeadline), kStopped);
}

TEST_F(MainWindow, CancelBeforeOkTouchesNothing) {
  LayOutWork();
  TavrelProcess process(folder_.exe(), folder_.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form);
  PressButton(form, kCommand2);
  EXPECT_EQ(process.WaitForExit(kDeadline), kStopped);
  ExpectNothingTouched();
}

TEST_F(MainWindow, CloseBoxEndsAsCancel) {
  LayOutWork();
  TavrelProcess process(folder_.exe(), folder_.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form);
  PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(process.WaitForExit(kDeadline), kStopped);
  ExpectNothingTouched();
}

TEST_F(MainWindow, OkWithoutDescriptionWarnsAndEnds) {
  TavrelProcess process(folder_.exe(), folder_.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form);
  PressButton(form, kCommand1);
  const RunRecord run = AnswerMessagesUntilExit(process, kDeadline, [&](const MessageBoxView& box) {
    SaveBmp(CaptureWindow(box.box), folder_.root() / L"warning.bmp");
  });
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0].text, L"INIファイルが見つかりません");
  EXPECT_EQ(run.messages[0].title, L"Tavrel");
  EXPECT_TRUE(run.messages[0].has_icon);
  EXPECT_FALSE(run.progress_window_behind[0]);
  EXPECT_EQ(run.exit_status, kFailed);
}

}  // namespace
}  // namespace tavrel::e2e
