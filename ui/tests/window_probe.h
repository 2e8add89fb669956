#pragma once

#include <windows.h>

#include <string>

namespace tavrel {

// What a test can see of a window from outside, as another program would.

std::wstring ClassName(HWND window);
std::wstring Text(HWND window);

// The control's rectangle in its parent's client area.
RECT ChildRect(HWND parent, int id);

// The font the control was given with WM_SETFONT.
LOGFONTW ControlFont(HWND control);

struct LabelPaint {
  COLORREF text;
  int background_mode;
  COLORREF brush;
};

// How the parent asks the label to paint, through WM_CTLCOLORSTATIC.
LabelPaint LabelColours(HWND parent, int id);

}  // namespace tavrel
