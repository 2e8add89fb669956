#include "tests/e2e/driver/windows.h"

#include <thread>

namespace tavrel::e2e {
namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

// Control IDs of the system message box: its text, and its icon (Windows uses 0x14, Wine 0x440).
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconIds[] = {0x14, 0x440};

struct Search {
  DWORD pid;
  std::wstring_view class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (pid != search.pid || search.class_name != class_name || !IsWindowVisible(window)) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

bool HasIcon(HWND box) {
  for (int id : kMessageBoxIconIds) {
    HWND icon = GetDlgItem(box, id);
    // The box keeps an icon control even without an icon; what tells is the picture in it.
    if (icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0) return true;
  }
  return false;
}

}  // namespace

HWND FindWindowOf(DWORD pid, std::wstring_view class_name) {
  Search search{pid, class_name, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Eventually(const std::function<bool()>& holds, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!holds()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

HWND WaitForWindow(DWORD pid, std::wstring_view class_name, std::chrono::milliseconds deadline) {
  HWND window = nullptr;
  Eventually([&] { return (window = FindWindowOf(pid, class_name)) != nullptr; }, deadline);
  return window;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

RECT ControlRect(HWND parent, int id) {
  RECT rect{};
  HWND control = GetDlgItem(parent, id);
  if (!control) return rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void PressButton(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, std::chrono::milliseconds deadline) {
  HWND box = WaitForWindow(pid, L"#32770", deadline);
  if (!box) return std::nullopt;
  return MessageBoxView{box, WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId)),
                        HasIcon(box)};
}

void PressOk(const MessageBoxView& view) {
  PostMessageW(view.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(view.box, IDOK)));
}

}  // namespace tavrel::e2e
