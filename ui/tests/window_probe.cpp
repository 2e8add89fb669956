#include "ui/tests/window_probe.h"

namespace tavrel {

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring Text(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT ChildRect(HWND parent, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(parent, id), &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTW ControlFont(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

LabelPaint LabelColours(HWND parent, int id) {
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush =
      reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(GetDlgItem(parent, id))));
  LOGBRUSH brush_info{};
  GetObjectW(brush, sizeof brush_info, &brush_info);
  const LabelPaint paint{GetTextColor(dc), GetBkMode(dc), brush_info.lbColor};
  DeleteDC(dc);
  return paint;
}

}  // namespace tavrel
