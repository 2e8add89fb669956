#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::e2e {

// Every wait on the program has a deadline, so a missing window fails a test instead of hanging.
inline constexpr std::chrono::milliseconds kDeadline{5000};

// Polls `holds` until it is true (true) or the deadline passes (false).
bool Eventually(const std::function<bool()>& holds, std::chrono::milliseconds deadline = kDeadline);

// The visible top-level window of process `pid` whose class is `class_name`, once it appears;
// nullptr when none has by the deadline.
HWND WaitForWindow(DWORD pid, std::wstring_view class_name,
                   std::chrono::milliseconds deadline = kDeadline);

// The same, without waiting: nullptr when there is none now.
HWND FindWindowOf(DWORD pid, std::wstring_view class_name);

std::wstring WindowText(HWND window);
SIZE ClientSize(HWND window);
// The control's rectangle in its parent's client coordinates; empty when there is no such control.
RECT ControlRect(HWND parent, int id);
// The window that has the keyboard focus in `window`'s thread.
HWND FocusedWindow(HWND window);

// Presses a button as a person would; the press is posted, so the program handles it in its own
// time (a press that starts a modal loop must not block the driver).
void PressButton(HWND parent, int id);

// A message box of the program, as the person sees it.
struct MessageBoxView {
  HWND box = nullptr;
  std::wstring title;
  std::wstring text;
  bool has_icon = false;
};

// The program's message box once it appears; nothing by the deadline.
std::optional<MessageBoxView> WaitForMessageBox(DWORD pid,
                                                std::chrono::milliseconds deadline = kDeadline);

// Presses the message box's OK button.
void PressOk(const MessageBoxView& view);

}  // namespace tavrel::e2e
