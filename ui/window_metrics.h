#pragma once

#include <windows.h>

namespace tavrel {

// Positions and sizes are kept in twips; a window shows them in pixels at its monitor's DPI.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The DPI of the monitor the window is on (per-monitor aware), or the system DPI on a Windows
// older than 10 version 1607, where the window functions below fall back to the system DPI too.
int WindowDpi(HWND window);

// The outer size of a window with this client size, style and extended style.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, int dpi);

// The platform's default user-interface font: the one message boxes and dialogs use.
LOGFONTW UserInterfaceFont(int dpi);

// A regular Japanese font of `face` at `centipoints` (1/100 point) on a screen of `dpi`.
LOGFONTW ShiftJisFont(const wchar_t* face, int centipoints, int dpi);

}  // namespace tavrel
