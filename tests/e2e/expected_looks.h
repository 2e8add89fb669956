#pragma once

#include <windows.h>

#include <filesystem>
#include <ostream>

#include "tests/e2e/driver/label_rendering.h"

// RECT in assertions and their messages; RECT lives in the global namespace, so these do too.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << "," << r.top << ") " << r.right - r.left << "x"
             << r.bottom - r.top;
}

namespace tavrel::e2e {

// What the person should see. Lengths are pixels at 96 DPI; tests scale them to the screen.
inline constexpr COLORREF kLightCyan = RGB(192, 255, 255);
inline constexpr wchar_t kLabelFace[] = L"ＭＳ Ｐゴシック";

LabelLook Label1Look();
LabelLook ProgressLabelLook();

// The DPI the test run was set up for (TAVREL_E2E_DPI, 96 when unset).
int ExpectedDpi();

// A rectangle given at 96 DPI as left, top, width and height, scaled to the screen.
RECT ScaledRect(int left, int top, int width, int height);

// Checks the label control `id` of `window`: its text, and its pixels on the screen against the
// label as the driver draws it. On a mismatch both pictures are saved into `evidence_folder`.
void ExpectLabelDrawn(HWND window, int id, const LabelLook& look,
                      const std::filesystem::path& evidence_folder);

// Checks the window's background colour on the screen just inside its client area's corners.
void ExpectBackground(HWND window, COLORREF colour);

// Checks that the window opened in the centre of the screen (to the pixel).
void ExpectCentred(HWND window);

}  // namespace tavrel::e2e
