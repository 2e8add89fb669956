#include "engine/module1.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "description/setup_description.h"
#include "engine/install_entry.h"
#include "engine/messages.h"

namespace tavrel {

namespace {

// The compiler cannot see that the virtual EndProgram never returns; should a platform's return,
// stopping here beats running on past the end that was asked for.
[[noreturn]] void End(UserInterface& ui, ExitStatus status) {
  ui.EndProgram(status);
  std::abort();
}

// A registration that fails is told and passed over; a library that cannot be called ends the run.
// Registering runs the DLL's code with the administrator's rights, so a file that others could
// have put there or changed is never loaded: its registration fails.
void Register(Platform& platform, const std::string& path) {
  if (platform.files.ChangeableByOthers(path)) {
    platform.ui.ShowMessage(path + std::string(kRegistrationFailed), MessageIcon::kWarning);
    return;
  }
  const std::optional<std::int32_t> registered = platform.support.RegistDll(path, -1);
  if (!registered) {
    platform.ui.ShowMessage(TwoLines(kLibraryUnreachable, "RegistDll"), MessageIcon::kWarning);
    End(platform.ui, ExitStatus::kFailed);
  }
  if (*registered == 0) {
    platform.ui.ShowMessage(path + std::string(kRegistrationFailed), MessageIcon::kWarning);
  }
}

[[noreturn]] void TellUnreadableDescription(UserInterface& ui) {
  ui.ShowMessage(std::string(kIniFileUnreadable), MessageIcon::kWarning);
  End(ui, ExitStatus::kFailed);
}

}  // namespace

void Module1::RunSetup() {
  running_ = true;
  // Cleared here and not when the walk starts, so that a stop asked for during the first pump
  // below still holds.
  StopFlag = false;
  UserInterface& ui = platform_.ui;
  WinDir = platform_.directories.WindowsDirectory();
  SysDir = platform_.directories.SystemDirectory();
  const std::optional<std::string> program_folder = platform_.directories.ProgramFolder();
  AppPath = program_folder.value_or("");
  IniPath = AppPath + "\\qxSetup.ini";
  if (!program_folder || !platform_.files.Exists(IniPath)) {
    ui.ShowMessage(std::string(kIniFileMissing), MessageIcon::kWarning);
    End(ui, ExitStatus::kFailed);
  }
  ui.ShowProgressWindow();
  ui.PumpEvents();
  InstallList();
  ui.UnloadProgressWindow();
  ui.ShowMessage(std::string(kSetupComplete), MessageIcon::kNone, std::string());
  End(ui, ExitStatus::kCompleted);
}

void Module1::InstallList() {
  for (int n = 1; n <= kLastEntry; ++n) {
    const std::optional<std::string> value =
        ReadSetupValue(platform_.profile, IniPath, kEntrySection, EntryKey(n));
    if (!value) TellUnreadableDescription(platform_.ui);
    if (value->empty()) {
      // The lookup answers a description it cannot read (held by another program, gone since the
      // run began) as it answers a missing key; and Windows reads a UTF-8 mark as part of the
      // first line, and a UTF-16 big-endian file as ANSI bytes, so that the section behind the
      // mark is never found. Neither may end as complete.
      if (!platform_.files.Readable(IniPath) ||
          (n == 1 && BeginsWithMarkReadAsText(platform_.files, IniPath))) {
        TellUnreadableDescription(platform_.ui);
      }
      return;
    }
    const InstallEntry entry = ReadInstallEntry(*value, AppPath, WinDir, SysDir);
    const CopyResult result = CopyIfNewer(entry.source_path, entry.destination_path);
    // CopyIfNewer has told the person already, and every file it opened is closed.
    if (result == kCopyStopped) End(platform_.ui, ExitStatus::kStopped);
    if (result <= kCopyFailed) End(platform_.ui, ExitStatus::kFailed);
    if (entry.regist) Register(platform_, entry.destination_path);
  }
}

}  // namespace tavrel
