#include "ui/frm_wait.h"

#include "ui/control_ids.h"

namespace tavrel {
namespace {

constexpr ControlDesign kControls[] = {
    {kLabelId,
     L"STATIC",
     L"セットアップ中．．．",
     SS_CENTER | SS_NOPREFIX,
     {720, 480, 2775, 375},
     1200,
     RGB(0, 0, 192)},
};

// WS_DLGFRAME without WS_BORDER is a dialog frame without a caption; WS_EX_TOOLWINDOW keeps it
// out of the taskbar.
constexpr FormDesign kFrmWait = {
    L"Tavrel.frmWait", L"", WS_POPUP | WS_DLGFRAME, WS_EX_TOOLWINDOW, 4125, 1170, 0, kControls,
};

}  // namespace

frmWait::frmWait(HWND owner) : Form(kFrmWait, owner) {}

void frmWait::Show() {
  ShowWindow(window(), SW_SHOW);
  UpdateWindow(window());
}

}  // namespace tavrel
