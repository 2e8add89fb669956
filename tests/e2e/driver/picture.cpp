#include "tests/e2e/driver/picture.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace tavrel::e2e {
namespace {

// A 32-bit top-down DIB, so that pixels come out in reading order.
BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

template <typename T>
void Put(std::ofstream& out, T value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

Picture CaptureScreen(const RECT& screen_rect) {
  Picture picture{screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top, {}};
  if (picture.width <= 0 || picture.height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = TopDownInfo(picture.width, picture.height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, screen_rect.left, screen_rect.top,
         SRCCOPY);
  GdiFlush();
  const auto* quads = static_cast<const RGBQUAD*>(bits);
  picture.pixels.resize(static_cast<size_t>(picture.width * picture.height));
  std::transform(quads, quads + picture.pixels.size(), picture.pixels.begin(),
                 [](RGBQUAD q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); });
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

Picture CaptureWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return CaptureScreen(rect);
}

int CountColour(const Picture& picture, COLORREF colour) {
  return static_cast<int>(std::count(picture.pixels.begin(), picture.pixels.end(), colour));
}

void SaveBmp(const Picture& picture, const std::filesystem::path& file) {
  const int row_bytes = (picture.width * 3 + 3) & ~3;
  const auto image_bytes = static_cast<std::uint32_t>(row_bytes * picture.height);
  const std::uint32_t headers = 14 + 40;
  std::ofstream out(file, std::ios::binary);
  out.write("BM", 2);
  Put<std::uint32_t>(out, headers + image_bytes);
  Put<std::uint32_t>(out, 0);
  Put<std::uint32_t>(out, headers);
  Put<std::uint32_t>(out, 40);
  Put<std::int32_t>(out, picture.width);
  Put<std::int32_t>(out, picture.height);  // positive: rows run from the bottom
  Put<std::uint16_t>(out, 1);
  Put<std::uint16_t>(out, 24);
  for (int i = 0; i < 6; ++i) Put<std::uint32_t>(out, 0);
  std::vector<char> row(static_cast<size_t>(row_bytes), 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.At(x, y);
      row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(c));
      row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
      row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
    }
    out.write(row.data(), row_bytes);
  }
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace tavrel::e2e
