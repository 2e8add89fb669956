#pragma once

// What the scenario player and the demo share: starting Tavrel.exe, finding its windows, pressing
// its buttons, answering its message boxes and picturing the screen.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/tests/scratch_folder.h"

namespace tavrel::e2e {

inline constexpr wchar_t kForm1Class[] = L"Tavrel.Form1";
inline constexpr wchar_t kFrmWaitClass[] = L"Tavrel.frmWait";

// Every wait on the program has a deadline, so a missing window fails instead of hanging.
inline constexpr std::chrono::milliseconds kDeadline{5000};
bool Eventually(const std::function<bool()>& holds, std::chrono::milliseconds deadline = kDeadline);

// A Tavrel.exe started with VOLSTRAK_TEST_LOG naming `log` (none when empty), in
// `working_folder`. One still running when this goes away is killed.
class TavrelProcess {
 public:
  TavrelProcess(const std::filesystem::path& exe, const std::filesystem::path& log,
                const std::filesystem::path& working_folder);
  ~TavrelProcess();
  TavrelProcess(const TavrelProcess&) = delete;
  TavrelProcess& operator=(const TavrelProcess&) = delete;

  DWORD id() const { return id_; }
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds deadline);
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The visible top-level window of process `pid` with that class; nullptr when none by the deadline.
HWND WaitForWindow(DWORD pid, const wchar_t* class_name,
                   std::chrono::milliseconds deadline = kDeadline);
std::wstring WindowText(HWND window);
// Posted, as a person's press: a press that opens a modal loop must not block the driver.
void PressButton(HWND parent, int id);

struct MessageBoxView {
  HWND box = nullptr;
  std::wstring title;
  std::wstring text;
  bool has_icon = false;
};

struct RunRecord {
  std::vector<MessageBoxView> messages;
  std::optional<DWORD> exit_status;  // nothing: still running at the deadline
};

// Answers every message box with OK until the program ends; `on_message` sees each box first.
RunRecord AnswerMessagesUntilExit(
    TavrelProcess& process, std::chrono::milliseconds deadline,
    const std::function<void(const MessageBoxView&)>& on_message = {});

// The screen inside `rect` as a PPM picture, once it holds still: Wine hands a window's drawing to
// the X server a moment after the program paints. Read from the screen DC, since another
// process's window DC is unreliable under Wine.
void SaveScreen(const RECT& rect, const std::filesystem::path& file);
COLORREF ScreenPixel(POINT at);

}  // namespace tavrel::e2e
