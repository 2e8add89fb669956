#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/driver/picture.h"

namespace tavrel::e2e {

// How a label should look: its box, text, font and colours.
struct LabelLook {
  SIZE size;
  std::wstring text;
  std::wstring face;
  int point_size_hundredths;  // 975 for 9.75 points
  COLORREF text_colour;
  COLORREF background;
  UINT draw_text_format;  // DT_LEFT or DT_CENTER, with DT_WORDBREAK as a STATIC control wraps
};

// The label as the driver itself draws it on the screen, in a window of its own, through the
// same drawing path as the program's windows; compared pixel for pixel with the program's label,
// it checks face, size, character set, colour and wrapping at once.
// Another process's font cannot be read under Wine (WM_GETFONT across processes fails there).
Picture RenderLabel(const LabelLook& look);

// The screen's DPI, and a length at 96 DPI scaled to it.
int ScreenDpi();
int Scaled(int pixels_at_96);

}  // namespace tavrel::e2e
