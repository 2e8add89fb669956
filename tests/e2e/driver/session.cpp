#include "tests/e2e/driver/session.h"

#include <thread>

#include "tests/e2e/driver/tavrel_ids.h"

namespace tavrel::e2e {

RunRecord AnswerMessagesUntilExit(TavrelProcess& process, std::chrono::milliseconds deadline,
                                  const std::function<void(const MessageBoxView&)>& on_message) {
  constexpr std::chrono::milliseconds kPoll{20};
  RunRecord record;
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    record.exit_status = process.WaitForExit(std::chrono::milliseconds(0));
    if (record.exit_status) return record;
    std::optional<MessageBoxView> box = WaitForMessageBox(process.id(), kPoll);
    if (!box) continue;
    record.messages.push_back(*box);
    record.progress_window_behind.push_back(FindWindowOf(process.id(), kFrmWaitClass) != nullptr);
    if (on_message) on_message(*box);
    PressOk(*box);
    // The same box must not be read twice: wait until it has gone.
    while (IsWindow(box->box) && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(kPoll);
    }
  }
  record.exit_status = process.WaitForExit(std::chrono::milliseconds(0));
  return record;
}

}  // namespace tavrel::e2e
