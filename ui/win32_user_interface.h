#pragma once

#include <windows.h>

#include <memory>

#include "platform/user_interface.h"
#include "ui/frm_wait.h"

namespace tavrel {

class Win32UserInterface : public UserInterface {
 public:
  // The main window, which owns the progress window and the message boxes. Not owned.
  void SetMainWindow(HWND window) { main_window_ = window; }

  void ShowProgressWindow() override;
  void UnloadProgressWindow() override;
  void ShowMessage(const std::string& text, MessageIcon icon,
                   const std::optional<std::string>& title) override;
  void PumpEvents() override;
  [[noreturn]] void EndProgram(ExitStatus status) override;

  // The progress window while it is shown; null otherwise.
  frmWait* progress_window() const { return progress_.get(); }

 private:
  HWND main_window_ = nullptr;
  std::unique_ptr<frmWait> progress_;
};

}  // namespace tavrel
