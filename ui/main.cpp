#include <windows.h>

#include "engine/module1.h"
#include "platform/win32/win32_directories.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_support_library.h"
#include "ui/form1.h"
#include "ui/message_loop.h"
#include "ui/win32_user_interface.h"

namespace tavrel {
namespace {

// Libraries loaded by name come from the system folder only, so that no DLL planted beside the
// program (a download folder, say) is loaded in a system one's place. SetDefaultDllDirectories
// is missing on Vista and on 7 without KB2533623; there, at least the current folder goes.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto restrict_search =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (!restrict_search || !restrict_search(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

// Redirection Guard: Windows then refuses to follow a junction that a non-administrator made,
// wherever this process opens a path. Only Windows 10 22H2 and later know it; elsewhere the
// call fails or is missing, and the installer's own checks of each destination's path stand alone.
void RefuseLinksOfStandardUsers() {
  using SetPolicyFunction = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const auto set_policy = reinterpret_cast<SetPolicyFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetProcessMitigationPolicy")));
  PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
  policy.EnforceRedirectionTrust = 1;
  if (set_policy) set_policy(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

}  // namespace
}  // namespace tavrel

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  using namespace tavrel;
  RestrictLibrarySearch();
  RefuseLinksOfStandardUsers();

  Win32Directories directories;
  Win32Profile profile;
  Win32FileSystem files;
  Win32UserInterface ui;
  Win32SupportLibrary support(directories);
  Module1 engine(Platform{directories, profile, files, ui, support});

  // During a run the buttons stay live: OK must not start a second run inside the first, and
  // Cancel asks the run to stop where no partly written file is left.
  Form1 form({
      .ok =
          [&] {
            if (!engine.Running()) engine.RunSetup();
          },
      .cancel =
          [&] {
            if (engine.Running()) {
              engine.RequestStop();
            } else {
              ui.EndProgram(ExitStatus::kStopped);
            }
          },
  });
  ui.SetMainWindow(form.window());
  form.Show(show_command);
  RunMessageLoop();
  return 0;
}
