#include "tests/e2e/expected_looks.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/driver/picture.h"
#include "tests/e2e/driver/windows.h"

namespace tavrel::e2e {

LabelLook Label1Look() {
  return {{Scaled(153), Scaled(25)},
          L"ZembritシリーズのVB6ランタイムをセットアップします。",
          kLabelFace,
          975,
          RGB(0, 0, 128),
          kLightCyan,
          DT_LEFT | DT_WORDBREAK};
}

LabelLook ProgressLabelLook() {
  return {{Scaled(185), Scaled(25)},
          L"セットアップ中．．．",
          kLabelFace,
          1200,
          RGB(0, 0, 192),
          kLightCyan,
          DT_CENTER | DT_WORDBREAK};
}

int ExpectedDpi() {
  const char* dpi = std::getenv("TAVREL_E2E_DPI");
  return dpi ? std::atoi(dpi) : 96;
}

RECT ScaledRect(int left, int top, int width, int height) {
  return {Scaled(left), Scaled(top), Scaled(left) + Scaled(width), Scaled(top) + Scaled(height)};
}

void ExpectLabelDrawn(HWND window, int id, const LabelLook& look,
                      const std::filesystem::path& evidence_folder) {
  HWND label = GetDlgItem(window, id);
  ASSERT_TRUE(label) << "no control " << id;
  EXPECT_EQ(WindowText(label), look.text);
  const Picture expected = RenderLabel(look);
  // Text must really be there: a blank label drawn as blank would match a blank rendering.
  EXPECT_GT(CountColour(expected, look.text_colour), 0);
  // A freshly shown window is on the screen only once the program has painted it.
  Picture shown;
  const bool matched = Eventually([&] {
    shown = CaptureWindow(label);
    return shown == expected;
  });
  if (matched) return;
  const std::wstring name = L"label" + std::to_wstring(id);
  SaveBmp(expected, evidence_folder / (name + L"-expected.bmp"));
  SaveBmp(shown, evidence_folder / (name + L"-shown.bmp"));
  ADD_FAILURE() << "label " << id << " is not drawn as expected; see " << evidence_folder.string();
}

void ExpectBackground(HWND window, COLORREF colour) {
  const SIZE client = ClientSize(window);
  const POINT insides[] = {
      {1, 1}, {client.cx - 2, 1}, {1, client.cy - 2}, {client.cx - 2, client.cy - 2}};
  for (POINT inside : insides) {
    POINT on_screen = inside;
    ClientToScreen(window, &on_screen);
    COLORREF shown = 0;
    Eventually([&] {
      shown = CaptureScreen({on_screen.x, on_screen.y, on_screen.x + 1, on_screen.y + 1}).At(0, 0);
      return shown == colour;
    });
    EXPECT_EQ(shown, colour) << "at " << inside.x << "," << inside.y;
  }
}

void ExpectCentred(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(frame.left + frame.right - screen_width), 1);
  EXPECT_LE(std::abs(frame.top + frame.bottom - screen_height), 1);
}

}  // namespace tavrel::e2e
