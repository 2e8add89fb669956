#pragma once

// What the scenario player and the demo share: starting Tavrel.exe, finding its windows, pressing
// its buttons, answering its message boxes and picturing the screen.

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

#include "platform/win32/tests/scratch_folder.h"

namespace tavrel::e2e {

using std::chrono::milliseconds;

inline constexpr wchar_t kForm1Class[] = L"Tavrel.Form1";
inline constexpr wchar_t kFrmWaitClass[] = L"Tavrel.frmWait";
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

// Every wait on the program has a deadline, so a missing window fails instead of hanging.
inline bool Eventually(const std::function<bool()>& holds,
                       milliseconds deadline = milliseconds(5000)) {
  for (const auto end = std::chrono::steady_clock::now() + deadline; !holds();) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return true;
}

// A Tavrel.exe started with VOLSTRAK_TEST_LOG naming `log` (none when empty), in
// `working_folder`. One still running when this goes away is killed.
class TavrelProcess {
 public:
  TavrelProcess(const std::filesystem::path& exe, const std::filesystem::path& log,
                const std::filesystem::path& working_folder) {
    // The child inherits the driver's environment; the driver runs one program at a time.
    SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", log.empty() ? nullptr : log.c_str());
    std::wstring command_line = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_folder.c_str(), &startup, &info))
      throw std::runtime_error("cannot start Tavrel.exe: " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
  ~TavrelProcess() {
    if (!WaitForExit(milliseconds(0))) Kill();
    CloseHandle(process_);
  }
  TavrelProcess(const TavrelProcess&) = delete;
  TavrelProcess& operator=(const TavrelProcess&) = delete;

  DWORD id() const { return id_; }
  std::optional<DWORD> WaitForExit(milliseconds deadline) const {
    DWORD status = 0;
    if (WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &status))
      return std::nullopt;
    return status;
  }
  void Kill() const {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The visible top-level window of process `pid` with that class; nullptr when none by the deadline.
inline HWND WaitForWindow(DWORD pid, const wchar_t* class_name,
                          milliseconds deadline = milliseconds(5000)) {
  HWND found = nullptr;
  Eventually(
      [&] {
        DWORD owner = 0;
        for (found = nullptr; (found = FindWindowExW(nullptr, found, class_name, nullptr));) {
          GetWindowThreadProcessId(found, &owner);
          if (owner == pid && IsWindowVisible(found)) return true;
        }
        return false;
      },
      deadline);
  return found;
}

inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Posted, as a person's press: a press that opens a modal loop must not block the driver.
inline void PressButton(HWND parent, int id) {
  PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

struct MessageBoxView {
  HWND box = nullptr;
  std::wstring title, text;
  bool has_icon = false;
};

struct RunRecord {
  std::vector<MessageBoxView> messages;
  std::optional<DWORD> exit_status;  // nothing: still running at the deadline
};

// Answers every message box with OK until the program ends; `on_message` sees each box first.
inline RunRecord AnswerMessagesUntilExit(
    const TavrelProcess& process, milliseconds deadline,
    const std::function<void(const MessageBoxView&)>& on_message = {}) {
  RunRecord record;
  for (const auto end = std::chrono::steady_clock::now() + deadline;
       !(record.exit_status = process.WaitForExit(milliseconds(0))) &&
       std::chrono::steady_clock::now() < end;) {
    HWND box = WaitForWindow(process.id(), kMessageBoxClass, milliseconds(20));
    if (!box) continue;
    // The text control, and the icon (Windows uses 0x14, Wine 0x440): the box keeps an icon
    // control even without an icon; what tells is the picture in it.
    MessageBoxView view{box, WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
    for (int id : {0x14, 0x440})
      view.has_icon |= SendDlgItemMessageW(box, id, STM_GETICON, 0, 0) != 0;
    record.messages.push_back(view);
    if (on_message) on_message(view);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // The same box must not be read twice.
    Eventually([&] { return !IsWindow(box); }, deadline);
  }
  return record;
}

// Rows of 32-bit pixels from the top, read from the screen DC: another process's window DC is
// unreliable under Wine.
inline std::vector<RGBQUAD> Capture(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  if (!pixels.empty()) std::memcpy(pixels.data(), bits, pixels.size() * sizeof(RGBQUAD));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

inline COLORREF ScreenPixel(POINT at) {
  const std::vector<RGBQUAD> pixel = Capture({at.x, at.y, at.x + 1, at.y + 1});
  return RGB(pixel[0].rgbRed, pixel[0].rgbGreen, pixel[0].rgbBlue);
}

// The screen inside `rect` as a binary PPM picture, once it holds still: Wine hands a window's
// drawing to the X server a moment after the program paints.
inline void SaveScreen(const RECT& rect, const std::filesystem::path& file) {
  std::vector<RGBQUAD> pixels = Capture(rect);
  Eventually([&] {
    std::this_thread::sleep_for(milliseconds(100));
    std::vector<RGBQUAD> again = Capture(rect);
    const bool still = std::memcmp(again.data(), pixels.data(), pixels.size() * 4) == 0;
    pixels = std::move(again);
    return still;
  });
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << rect.right - rect.left << " " << rect.bottom - rect.top << "\n255\n";
  for (const RGBQUAD& q : pixels) out << q.rgbRed << q.rgbGreen << q.rgbBlue;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace tavrel::e2e
