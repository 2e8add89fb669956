#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>

namespace tavrel::e2e {

// A Tavrel.exe started by the driver. One still running when this goes away is terminated, so a
// failing test never leaves a process behind.
class TavrelProcess {
 public:
  // Starts `exe` with VOLSTRAK_TEST_LOG naming `log` (empty: the variable is removed). The
  // working folder is the one above the program's, so nothing can lean on it. Throws on failure.
  TavrelProcess(const std::filesystem::path& exe, const std::filesystem::path& log);
  ~TavrelProcess();
  TavrelProcess(const TavrelProcess&) = delete;
  TavrelProcess& operator=(const TavrelProcess&) = delete;

  DWORD id() const { return id_; }

  // The exit status, or nothing when the process still runs at the deadline.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds deadline);

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace tavrel::e2e
