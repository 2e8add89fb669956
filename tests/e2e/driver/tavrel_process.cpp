#include "tests/e2e/driver/tavrel_process.h"

#include <stdexcept>
#include <string>

namespace tavrel::e2e {

TavrelProcess::TavrelProcess(const std::filesystem::path& exe, const std::filesystem::path& log) {
  // The child inherits the driver's environment; the driver runs one program at a time.
  SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", log.empty() ? nullptr : log.c_str());
  std::wstring command_line = L"\"" + exe.wstring() + L"\"";
  const std::wstring working_folder = exe.parent_path().parent_path().wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), /*lpProcessAttributes=*/nullptr,
                      /*lpThreadAttributes=*/nullptr, /*bInheritHandles=*/FALSE,
                      /*dwCreationFlags=*/0, /*lpEnvironment=*/nullptr, working_folder.c_str(),
                      &startup, &info)) {
    throw std::runtime_error("CreateProcessW failed: " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

TavrelProcess::~TavrelProcess() {
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

std::optional<DWORD> TavrelProcess::WaitForExit(std::chrono::milliseconds deadline) {
  if (WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD status = 0;
  GetExitCodeProcess(process_, &status);
  return status;
}

}  // namespace tavrel::e2e
