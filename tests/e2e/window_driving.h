// The person's hands and eyes on Tavrel.exe under Wine, shared by the scenario player and the
// headless demo's driver: starting the program, finding its windows, pressing, answering its
// message boxes, and picturing the screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace tavrel {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr wchar_t kForm1Class[] = L"Tavrel.Form1";
constexpr wchar_t kFrmWaitClass[] = L"Tavrel.frmWait";
constexpr wchar_t kMessageBoxClass[] = L"#32770";

// The texts made here are always valid; "?" would show in a failure where it was not.
inline std::wstring Wide(std::string_view text) { return Utf8ToWide(text).value_or(L"?"); }
inline std::string Narrow(std::wstring_view text) { return WideToUtf8(text).value_or("?"); }

// Every wait on the program has a deadline, so a missing window fails instead of hanging.
inline bool Eventually(const std::function<bool()>& holds,
                       milliseconds deadline = milliseconds(5000)) {
  for (const auto end = std::chrono::steady_clock::now() + deadline; !holds();) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return true;
}

// Tavrel.exe, started in `folder`; killed (status 99) when still running at the end.
struct Process {
  PROCESS_INFORMATION info{};

  Process(const fs::path& exe, const fs::path& folder) {
    std::wstring command_line = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // wine64 now and then fails a start with ERROR_INTERNAL_ERROR; a second try starts it.
    const auto start = [&] {
      return CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &info);
    };
    if (!start() && (Sleep(1000), !start()))
      throw std::runtime_error("cannot start Tavrel.exe: " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
  }
  ~Process() {
    Kill();
    CloseHandle(info.hProcess);
  }
  std::optional<DWORD> Exit(milliseconds deadline) const {
    DWORD status = 0;
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(info.hProcess, &status))
      return std::nullopt;
    return status;
  }
  void Kill() const {
    if (!Exit(milliseconds(0))) TerminateProcess(info.hProcess, 99), Exit(milliseconds(5000));
  }
};

// The visible top-level window of process `pid` with that class; nullptr when none by the deadline.
inline HWND WaitForWindow(DWORD pid, const wchar_t* class_name,
                          milliseconds deadline = milliseconds(5000)) {
  HWND found = nullptr;
  const auto visible = [&] {
    DWORD owner = 0;
    while ((found = FindWindowExW(nullptr, found, class_name, nullptr))) {
      if (GetWindowThreadProcessId(found, &owner), owner == pid && IsWindowVisible(found)) break;
    }
    return found != nullptr;
  };
  Eventually(visible, deadline);
  return found;
}

inline std::string Text(HWND window) {
  wchar_t text[1024] = L"";
  return GetWindowTextW(window, text, 1024), Narrow(text);
}

// Posted, as a person's press: a press that opens a modal loop must not block the player.
inline void Press(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

// Answers every message box with OK until the program ends (its status; none when still
// running at the deadline). `seen` gets each box first, as "[warning|plain TITLE: TEXT]".
inline std::optional<DWORD> AnswerUntilExit(const Process& process,
                                            const std::function<void(std::string)>& seen) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::optional<DWORD> status;
  while (!(status = process.Exit(milliseconds(0))) && std::chrono::steady_clock::now() < end) {
    HWND box = WaitForWindow(process.info.dwProcessId, kMessageBoxClass, milliseconds(20));
    if (!box) continue;
    // The box keeps an icon control (Windows uses 0x14, Wine 0x440) even without an icon; what
    // tells is the picture in it.
    bool icon = false;
    for (int id : {0x14, 0x440}) icon |= SendDlgItemMessageW(box, id, STM_GETICON, 0, 0) != 0;
    seen(std::string(icon ? "[warning " : "[plain ") + Text(box) + ": " +
         Text(GetDlgItem(box, 0xFFFF)) + "]");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // The same box must not be read twice.
    Eventually([&] { return !IsWindow(box); });
  }
  return status;
}

// The screen's rows of 32-bit pixels from the top, read from the screen DC: another process's
// window DC is unreliable under Wine.
inline std::vector<RGBQUAD> Capture() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
  return pixels;
}

// The screen as a binary PPM picture, once it holds still: Wine hands a window's drawing to the
// X server a moment after the program paints.
inline void SaveScreen(const fs::path& file) {
  std::vector<RGBQUAD> pixels = Capture();
  Eventually([&] {
    std::this_thread::sleep_for(milliseconds(100));
    std::vector<RGBQUAD> again = Capture();
    std::swap(again, pixels);
    return std::memcmp(again.data(), pixels.data(), pixels.size() * sizeof(RGBQUAD)) == 0;
  });
  std::ofstream out(file, std::ios::binary);
  out << "P6\n"
      << GetSystemMetrics(SM_CXSCREEN) << " " << GetSystemMetrics(SM_CYSCREEN) << "\n255\n";
  for (const RGBQUAD& q : pixels) out << q.rgbRed << q.rgbGreen << q.rgbBlue;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace tavrel
