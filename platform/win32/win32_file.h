#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/win32/scoped_handle.h"

namespace tavrel {

// A file opened with CreateFileW. Written files are flushed to the disk on Close(), so a
// successful Close() means the bytes are there.
class Win32File : public File {
 public:
  enum class Mode { kRead, kWrite };

  Win32File(ScopedHandle handle, Mode mode) : handle_(std::move(handle)), mode_(mode) {}

  std::optional<std::uint64_t> Length() override;
  std::optional<FileTime> LastModified() override;
  bool Read(std::span<std::byte> buffer) override;
  bool Write(std::span<const std::byte> data) override;
  bool Close() override;

  // Flushes what was written to the disk; false when that fails.
  bool Flush();
  // Closes without a flush: the bytes are flushed already, or nobody wants them.
  bool CloseUnflushed() { return handle_.Close(); }

  HANDLE handle() const { return handle_.get(); }

 private:
  ScopedHandle handle_;
  Mode mode_;
};

// A new file in a held folder, marked for deletion from the moment it is made: should the process
// be killed, the system removes it with its last handle. The mark is lifted only for the replace
// itself, which renames the file through its handle; a refused replace marks it again.
class Win32TemporaryFile : public TemporaryFile {
 public:
  // `handle` was opened with DELETE and FILE_READ_ATTRIBUTES access besides GENERIC_WRITE, in
  // `folder`, which outlives this object; `destination` is the name it is to take there.
  Win32TemporaryFile(ScopedHandle handle, HANDLE folder, std::wstring destination);

  std::optional<std::uint64_t> Length() override { return file_.Length(); }
  std::optional<FileTime> LastModified() override { return file_.LastModified(); }
  bool Read(std::span<std::byte> buffer) override { return file_.Read(buffer); }
  bool Write(std::span<const std::byte> data) override { return file_.Write(data); }
  // Throws the file away: closed without a flush, and removed.
  bool Close() override;
  Outcome Install() override;

 private:
  bool MarkForDeletion(bool marked);
  bool AddAttributes(DWORD attributes);
  bool MoveIntoPlace();
  bool HoldInstalled();

  Win32File file_;
  HANDLE folder_;  // not owned
  std::wstring destination_;
  bool marked_ = false;  // the system removes the file with its handle
  std::optional<ScopedHandle> installed_;  // the file in place, until this object goes
};

// Last-modified time from a FILETIME, in whole seconds.
FileTime SecondsOf(const FILETIME& time);

}  // namespace tavrel
