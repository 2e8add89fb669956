#include "ui/form1.h"

#include "ui/control_ids.h"
#include "ui/resources/resource_ids.h"

namespace tavrel {
namespace {

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;  // SS_LEFT wraps the line inside the box

// In tab order, which is the order of creation.
constexpr ControlDesign kControls[] = {
    {kCommand1Id, L"BUTTON", L"OK", kButton, {720, 960, 1215, 375}, 0, 0},
    {kCommand2Id, L"BUTTON", L"Cancel", kButton, {2640, 960, 1335, 375}, 0, 0},
    {kLabel1Id,
     L"STATIC",
     L"ZembritシリーズのVB6ランタイムをセットアップします。",
     kLabel,
     {1200, 240, 2295, 375},
     975,
     RGB(0, 0, 128)},
};

// A single fixed border with the close box alone: no sizing, no minimise or maximise.
constexpr FormDesign kForm1 = {
    L"Tavrel.Form1",
    L"ランタイムセットアッップ",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    0,
    4485,
    1710,
    kApplicationIconId,
    kControls,
};

}  // namespace

Form1::Form1(Handlers handlers) : Form(kForm1, /*owner=*/nullptr), handlers_(std::move(handlers)) {}

void Form1::Show(int show_command) {
  ShowWindow(window(), show_command);
  SetFocus(GetDlgItem(window(), kCommand1Id));
  UpdateWindow(window());
}

void Form1::OnCommand(int id) {
  if (id == kCommand1Id) handlers_.ok();
  if (id == kCommand2Id) handlers_.cancel();
}

void Form1::OnClose() { handlers_.cancel(); }

}  // namespace tavrel
