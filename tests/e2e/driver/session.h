#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/windows.h"

namespace tavrel::e2e {

// What the person saw of a run after pressing OK, and how the program ended.
struct RunRecord {
  std::vector<MessageBoxView> messages;
  std::optional<DWORD> exit_status;  // nothing: still running at the deadline
  // Whether the progress window still stood when each message box showed.
  std::vector<bool> progress_window_behind;
};

// Answers every message box with OK until the program ends; gives up at the deadline.
// `on_message` sees each box before it is answered (for screenshots).
RunRecord AnswerMessagesUntilExit(
    TavrelProcess& process, std::chrono::milliseconds deadline,
    const std::function<void(const MessageBoxView&)>& on_message = {});

}  // namespace tavrel::e2e
