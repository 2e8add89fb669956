#include "ui/win32_user_interface.h"

#include "platform/win32/text_conversion.h"
#include "ui/message_loop.h"

namespace tavrel {
namespace {

constexpr const char* kApplicationTitle = "Tavrel";

}  // namespace

void Win32UserInterface::ShowProgressWindow() {
  if (!progress_) progress_ = std::make_unique<frmWait>(main_window_);
  progress_->Show();
}

void Win32UserInterface::UnloadProgressWindow() { progress_.reset(); }

void Win32UserInterface::ShowMessage(const std::string& text, MessageIcon icon,
                                     const std::optional<std::string>& title) {
  const UINT type = MB_OK | (icon == MessageIcon::kWarning ? MB_ICONEXCLAMATION : 0);
  // The texts are the program's own and paths that came through a checked conversion.
  MessageBoxW(main_window_, Utf8ToWide(text).value_or(L"\uFFFD").c_str(),
              Utf8ToWide(title.value_or(kApplicationTitle)).value_or(L"\uFFFD").c_str(), type);
}

void Win32UserInterface::PumpEvents() { PumpPendingMessages(); }

void Win32UserInterface::EndProgram(ExitStatus status) { ExitProcess(static_cast<UINT>(status)); }

}  // namespace tavrel
