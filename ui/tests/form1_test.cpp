#include "ui/form1.h"

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "ui/message_loop.h"
#include "ui/tests/window_probe.h"
#include "ui/window_metrics.h"

namespace tavrel {
namespace {

class Form1Test : public testing::Test {
 protected:
  void SetUp() override { dpi_ = WindowDpi(form_.window()); }

  int ok_clicks_ = 0;
  int cancels_ = 0;
  Form1 form_{{.ok = [this] { ++ok_clicks_; }, .cancel = [this] { ++cancels_; }}};
  int dpi_ = 96;
};

// Where the windows stand, their sizes, texts and centring are checked end to end on the running
// program (tests/e2e); these tests look at what only the program itself can see.

TEST_F(Form1Test, SingleBorderWithTheCloseBoxAloneAndTheIcon) {
  const HWND window = form_.window();
  EXPECT_EQ(ClassName(window), L"Tavrel.Form1");
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
}

TEST_F(Form1Test, LabelIsNavyMsPGothicOnTheFormsBackground) {
  const HWND window = form_.window();
  const LOGFONTW label = ControlFont(GetDlgItem(window, kLabel1Id));
  EXPECT_STREQ(label.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(label.lfHeight, -(975 * dpi_ / 7200));  // 9.75 points: 13 pixels at 96 DPI
  EXPECT_EQ(label.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(label.lfWeight, FW_NORMAL);
  EXPECT_FALSE(label.lfItalic || label.lfUnderline);
  const auto style =
      static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(window, kLabel1Id), GWL_STYLE));
  EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFT));

  const LabelPaint paint = LabelColours(window, kLabel1Id);
  EXPECT_EQ(paint.text, RGB(0, 0, 128));
  EXPECT_EQ(paint.background_mode, TRANSPARENT);
  EXPECT_EQ(paint.brush, RGB(192, 255, 255));
  EXPECT_EQ(
      GetClassLongPtrW(window, GCLP_HBRBACKGROUND),
      reinterpret_cast<LONG_PTR>(reinterpret_cast<HBRUSH>(SendMessageW(
          window, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(GetDlgItem(window, kLabel1Id))))));
}

TEST_F(Form1Test, MovingToAMonitorOfAnotherDpiLaysTheFormOutAgain) {
  const HWND window = form_.window();
  RECT suggested{40, 30, 500, 260};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
  // OK at 720, 960 twips, 1215 by 375: 72, 96, 122 by 38 pixels at 144 DPI.
  const RECT ok = ChildRect(window, kCommand1Id);
  EXPECT_EQ(ok.left, 72);
  EXPECT_EQ(ok.top, 96);
  EXPECT_EQ(ok.right - ok.left, 122);
  EXPECT_EQ(ok.bottom - ok.top, 38);
  EXPECT_EQ(ControlFont(GetDlgItem(window, kLabel1Id)).lfHeight, -19);  // 9.75 points, rounded down
  EXPECT_STREQ(ControlFont(GetDlgItem(window, kLabel1Id)).lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(ControlFont(GetDlgItem(window, kCommand1Id)).lfHeight, UserInterfaceFont(144).lfHeight);
}

TEST_F(Form1Test, ButtonsUseTheMessageBoxFont) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  for (const int id : {kCommand1Id, kCommand2Id}) {
    const LOGFONTW font = ControlFont(GetDlgItem(form_.window(), id));
    EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName) << id;
    if (dpi_ == 96) {
      EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight) << id;
    }
  }
}

TEST_F(Form1Test, FocusStartsOnOkAndTabGoesOkCancelOk) {
  form_.Show(SW_SHOWNORMAL);
  SetForegroundWindow(form_.window());
  PumpPendingMessages();
  const HWND ok = GetDlgItem(form_.window(), kCommand1Id);
  const HWND cancel = GetDlgItem(form_.window(), kCommand2Id);
  EXPECT_EQ(GetFocus(), ok);
  EXPECT_EQ(GetNextDlgTabItem(form_.window(), ok, FALSE), cancel);
  EXPECT_EQ(GetNextDlgTabItem(form_.window(), cancel, FALSE), ok);

  for (const HWND expected : {cancel, ok}) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    PumpPendingMessages();
    EXPECT_EQ(GetFocus(), expected);
  }
  EXPECT_EQ(ok_clicks_ + cancels_, 0);
}

TEST_F(Form1Test, OnlyTheButtonsAndTheCloseBoxAct) {
  const HWND window = form_.window();
  form_.Show(SW_SHOWNORMAL);
  // Enter and Escape reach a window as IDOK and IDCANCEL; Escape goes through the dialog keys.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  PostMessageW(GetDlgItem(window, kCommand1Id), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPendingMessages();
  EXPECT_EQ(ok_clicks_, 0);
  EXPECT_EQ(cancels_, 0);

  SendMessageW(GetDlgItem(window, kCommand1Id), BM_CLICK, 0, 0);
  EXPECT_EQ(ok_clicks_, 1);
  SendMessageW(GetDlgItem(window, kCommand2Id), BM_CLICK, 0, 0);
  EXPECT_EQ(cancels_, 1);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(cancels_, 2);
  EXPECT_TRUE(IsWindow(window));  // the handler decides whether the program ends
  EXPECT_EQ(ok_clicks_, 1);
}

}  // namespace
}  // namespace tavrel
