#pragma once

#include "platform/file_system.h"
#include "platform/win32/scoped_handle.h"

namespace tavrel {

// A file opened with CreateFileW. Written files are flushed to the disk on Close(), so a
// successful Close() means the bytes are there.
class Win32File : public File {
 public:
  enum class Mode { kRead, kWrite };

  Win32File(ScopedHandle handle, Mode mode) : handle_(std::move(handle)), mode_(mode) {}

  bool Read(std::span<std::byte> buffer) override;
  bool Write(std::span<const std::byte> data) override;
  bool Close() override;

 private:
  ScopedHandle handle_;
  Mode mode_;
};

}  // namespace tavrel
