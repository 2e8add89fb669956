#include "ui/frm_wait.h"

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "ui/form1.h"
#include "ui/tests/window_probe.h"
#include "ui/window_metrics.h"

namespace tavrel {
namespace {

TEST(FrmWaitTest, CaptionlessToolWindowOwnedByTheMainWindow) {
  Form1 main({.ok = [] {}, .cancel = [] {}});
  frmWait wait(main.window());
  const HWND window = wait.window();
  const int dpi = WindowDpi(window);

  EXPECT_EQ(ClassName(window), L"Tavrel.frmWait");
  EXPECT_EQ(Text(window), L"");
  EXPECT_EQ(GetWindow(window, GW_OWNER), main.window());
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_DLGFRAME);
  EXPECT_FALSE(style & (WS_BORDER | WS_SYSMENU | WS_THICKFRAME));  // no title bar
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);

  // Its size, place and text are checked end to end on the running program (tests/e2e).
  const HWND label = GetDlgItem(window, kLabelId);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(label, GWL_STYLE)) & SS_TYPEMASK,
            static_cast<DWORD>(SS_CENTER));

  const LOGFONTW font = ControlFont(label);
  EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(font.lfHeight, -MulDiv(12, dpi, 72));  // 16 pixels at 96 DPI
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  const LabelPaint paint = LabelColours(window, kLabelId);
  EXPECT_EQ(paint.text, RGB(0, 0, 192));
  EXPECT_EQ(paint.background_mode, TRANSPARENT);
  EXPECT_EQ(paint.brush, RGB(192, 255, 255));

  // It has no behaviour of its own: closing it from outside does nothing.
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
}  // namespace tavrel
