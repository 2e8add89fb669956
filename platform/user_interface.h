#pragma once

#include <optional>
#include <string>

namespace tavrel {

enum class MessageIcon { kNone, kWarning };

// How the program ends; this is the process's exit status.
enum class ExitStatus : int {
  kCompleted = 0,  // after the completion message
  kFailed = 1,     // after a failure that ended the run
  kStopped = 2,    // Cancel, the close box, or a stop request during a run
};

// What the setup run needs of the windows: the progress window, message boxes, the event pump
// and the end of the program.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows the progress window modelessly; the main window stays shown and live.
  virtual void ShowProgressWindow() = 0;

  // Takes the progress window down.
  virtual void UnloadProgressWindow() = 0;

  // A modal message box with the OK button alone, owned by the main window. Without a title the
  // box carries the application title; the completion message passes the empty text.
  virtual void ShowMessage(const std::string& text, MessageIcon icon,
                           const std::optional<std::string>& title = std::nullopt) = 0;

  // Handles every window event pending at this moment, then returns.
  virtual void PumpEvents() = 0;

  // Ends the program. Every file must be closed before this is called.
  [[noreturn]] virtual void EndProgram(ExitStatus status) = 0;
};

}  // namespace tavrel
