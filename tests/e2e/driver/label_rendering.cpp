#include "tests/e2e/driver/label_rendering.h"

#include <utility>

#include "tests/e2e/driver/windows.h"

namespace tavrel::e2e {
namespace {

constexpr wchar_t kCanvasClass[] = L"Tavrel.E2E.Canvas";

HWND CreateCanvas(SIZE size) {
  static const ATOM registered = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kCanvasClass;
    return RegisterClassW(&window_class);
  }();
  (void)registered;
  // Top left of the screen, away from the program's windows, which open in the centre.
  HWND canvas =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kCanvasClass, L"", WS_POPUP, 0, 0, size.cx,
                      size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(canvas, SW_SHOWNOACTIVATE);
  UpdateWindow(canvas);
  return canvas;
}

// The font height in pixels for a point size at the screen's DPI, as LOGFONT wants it: whole
// pixels, rounded down, as the program chooses them.
int FontHeight(int point_size_hundredths) { return -(point_size_hundredths * ScreenDpi() / 7200); }

}  // namespace

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int Scaled(int pixels_at_96) { return MulDiv(pixels_at_96, ScreenDpi(), 96); }

Picture RenderLabel(const LabelLook& look) {
  HWND canvas = CreateCanvas(look.size);
  HDC dc = GetDC(canvas);
  RECT box{0, 0, look.size.cx, look.size.cy};
  HBRUSH background = CreateSolidBrush(look.background);
  FillRect(dc, &box, background);
  DeleteObject(background);
  HFONT font = CreateFontW(FontHeight(look.point_size_hundredths), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, look.face.c_str());
  HGDIOBJ previous = SelectObject(dc, font);
  SetTextColor(dc, look.text_colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, look.text.c_str(), static_cast<int>(look.text.size()), &box, look.draw_text_format);
  SelectObject(dc, previous);
  DeleteObject(font);
  ReleaseDC(canvas, dc);
  // Wine hands what was drawn to the X server later, while the thread handles its messages:
  // the picture is taken once the screen shows the drawing and holds still.
  RECT on_screen{};
  GetWindowRect(canvas, &on_screen);
  Picture picture;
  Eventually([&] {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    Picture before = std::move(picture);
    picture = CaptureScreen(on_screen);
    return picture == before && CountColour(picture, look.background) > 0;
  });
  DestroyWindow(canvas);
  return picture;
}

}  // namespace tavrel::e2e
