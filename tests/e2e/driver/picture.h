#pragma once

#include <windows.h>

#include <filesystem>
#include <vector>

namespace tavrel::e2e {

// Pixels read off the screen, row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool operator==(const Picture&) const = default;
};

// What is on the screen inside `screen_rect`. Read from the screen DC: another process's window
// DC is unreliable under Wine.
Picture CaptureScreen(const RECT& screen_rect);

// The window as it shows on the screen, frame and title bar included.
Picture CaptureWindow(HWND window);

// How many pixels of `picture` have exactly `colour`.
int CountColour(const Picture& picture, COLORREF colour);

// Writes a 24-bit BMP.
void SaveBmp(const Picture& picture, const std::filesystem::path& file);

}  // namespace tavrel::e2e
