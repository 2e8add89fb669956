#pragma once

#include <windows.h>

#include <utility>

namespace tavrel {

// Owns a kernel handle and closes it on destruction, ignoring failure; callers for whom the
// close matters call Close() and check it.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ScopedHandle(ScopedHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  ScopedHandle& operator=(ScopedHandle&&) = delete;
  ~ScopedHandle() { Close(); }

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

  // False when the handle was not open or CloseHandle failed; closed afterwards in any case.
  bool Close() {
    if (!valid()) return false;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
  }

 private:
  HANDLE handle_;
};

}  // namespace tavrel
