#include "ui/window_metrics.h"

#include <cwchar>

namespace tavrel {
namespace {

// Looked up at run time: Windows before 10 version 1607 lacks them, and a static import would
// keep the program from starting there.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

}  // namespace

int WindowDpi(HWND window) {
  static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi) return static_cast<int>(get_dpi(window));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, int dpi) {
  static const auto adjust =
      User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (adjust) {
    adjust(&rect, style, /*bMenu=*/FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, /*bMenu=*/FALSE, ex_style);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW UserInterfaceFont(int dpi) {
  static const auto parameters =
      User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  const bool found =
      parameters
          ? parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))
          : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (!found)
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &metrics.lfMessageFont);
  return metrics.lfMessageFont;
}

LOGFONTW ShiftJisFont(const wchar_t* face, int centipoints, int dpi) {
  LOGFONTW font{};
  // A negative height asks for the character height, which is what a point size measures. Whole
  // pixels are rounded down: 9.75 points at 144 DPI are 19.5 pixels, and 20 would wrap Label1's
  // text onto a third line that its box cuts off.
  font.lfHeight = -(centipoints * dpi / (72 * 100));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

}  // namespace tavrel
