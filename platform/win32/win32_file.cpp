#include "platform/win32/win32_file.h"

#include <algorithm>
#include <cstddef>

#include "platform/win32/kill_point.h"
#include "platform/win32/nt_files.h"

namespace tavrel {
namespace {

// ReadFile and WriteFile take a 32-bit count; larger spans go in pieces.
constexpr std::size_t kLargestCall = 1u << 30;

// A virus scanner or indexer may hold a file for a moment, and a program may hold an old DLL
// loaded; the replace is tried again for about two seconds before it counts as refused.
constexpr int kReplaceAttempts = 20;
constexpr DWORD kReplacePauseMs = 100;

constexpr std::uint64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns steps

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD NextCount(std::size_t remaining) {
  return static_cast<DWORD>(std::min(remaining, kLargestCall));
}

// The attributes of the file `name` in `folder`, a link's own: 0 when there is none, nothing
// when they cannot be read.
std::optional<DWORD> AttributesIn(HANDLE folder, const std::wstring& name) {
  const ScopedHandle file =
      OpenInFolder(folder, name, FILE_READ_ATTRIBUTES,
                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN);
  if (!file.valid()) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return DWORD{0};
    return std::nullopt;
  }
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
    return std::nullopt;
  return basic.FileAttributes;
}

}  // namespace

FileTime SecondsOf(const FILETIME& time) {
  const std::uint64_t ticks =
      (std::uint64_t{time.dwHighDateTime} << 32) | std::uint64_t{time.dwLowDateTime};
  return static_cast<FileTime>(ticks / kTicksPerSecond);
}

std::optional<std::uint64_t> Win32File::Length() {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle_.get(), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<FileTime> Win32File::LastModified() {
  FILETIME written{};
  if (!GetFileTime(handle_.get(), nullptr, nullptr, &written)) return std::nullopt;
  return SecondsOf(written);
}

bool Win32File::Read(std::span<std::byte> buffer) {
  while (!buffer.empty()) {
    DWORD read = 0;
    if (!ReadFile(handle_.get(), buffer.data(), NextCount(buffer.size()), &read, nullptr)) {
      return false;
    }
    // ReadFile succeeds with 0 bytes at the end of the file.
    if (read == 0) return false;
    buffer = buffer.subspan(read);
  }
  return true;
}

bool Win32File::Write(std::span<const std::byte> data) {
  while (!data.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle_.get(), data.data(), NextCount(data.size()), &written, nullptr) ||
        written == 0) {
      return false;
    }
    data = data.subspan(written);
  }
  return true;
}

bool Win32File::Flush() { return FlushFileBuffers(handle_.get()) != FALSE; }

bool Win32File::Close() {
  if (!handle_.valid()) return false;
  const bool flushed = mode_ == Mode::kRead || Flush();
  const bool closed = handle_.Close();
  return flushed && closed;
}

Win32TemporaryFile::Win32TemporaryFile(ScopedHandle handle, HANDLE folder,
                                       std::wstring destination)
    : file_(std::move(handle), Win32File::Mode::kWrite),
      folder_(folder),
      destination_(std::move(destination)) {
  // A file system that keeps no such mark still gets the file removed by Close().
  MarkForDeletion(true);
}

bool Win32TemporaryFile::MarkForDeletion(bool marked) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = marked ? TRUE : FALSE;
  if (!SetFileInformationByHandle(file_.handle(), FileDispositionInfo, &disposition,
                                  sizeof disposition)) {
    return false;
  }
  marked_ = marked;
  return true;
}

bool Win32TemporaryFile::Close() {
  // Where the mark went missing, it is tried once more: the file is never deleted by its name,
  // which could by then name another.
  if (!marked_ && file_.handle() != INVALID_HANDLE_VALUE) MarkForDeletion(true);
  return file_.CloseUnflushed();
}

bool Win32TemporaryFile::AddAttributes(DWORD attributes) {
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file_.handle(), FileBasicInfo, &basic, sizeof basic)) {
    return false;
  }
  // Times of 0 stay as they are.
  FILE_BASIC_INFO change{};
  change.FileAttributes = basic.FileAttributes | attributes;
  return SetFileInformationByHandle(file_.handle(), FileBasicInfo, &change, sizeof change) != FALSE;
}

// Renames the file over the destination through its handle and the folder's, so that no path has
// to be followed. The mark is off for each attempt alone: a refused one marks the file again
// before anything else.
bool Win32TemporaryFile::MoveIntoPlace() {
  const bool markable = marked_;
  for (int attempt = 1;; ++attempt) {
    if (markable && !MarkForDeletion(false)) return false;
    if (RenameInFolder(file_.handle(), folder_, destination_)) return true;
    const DWORD error = GetLastError();
    if (markable) MarkForDeletion(true);
    TAVREL_KILL_POINT("refused");
    // A rename over a file that anybody holds open, even sharing deletion, is refused with
    // ERROR_ACCESS_DENIED; a read-only file or a folder, which would be refused so for good, never
    // gets here.
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
         error != ERROR_ACCESS_DENIED) ||
        attempt == kReplaceAttempts) {
      return false;
    }
    Sleep(kReplacePauseMs);
  }
}

// The file just put in place is opened again, sharing reading and writing but not deletion, and
// its old handle closed, which shared nothing: now the support library can set its times while
// nobody can rename or delete it. Between the two it could be swapped, which its number shows.
bool Win32TemporaryFile::HoldInstalled() {
  const auto identity = FileNumberOf(file_.handle());
  file_.CloseUnflushed();
  installed_.emplace(OpenInFolder(folder_, destination_, FILE_READ_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN));
  if (identity && installed_->valid() && FileNumberOf(installed_->get()) == identity) return true;
  installed_.reset();
  return false;
}

TemporaryFile::Outcome Win32TemporaryFile::Install() {
  TAVREL_KILL_POINT("written");
  // Windows refuses to replace a read-only file, but Wine replaces it; asking first makes both
  // keep it, and refuses it, like a folder, at once instead of after the retries that an open
  // destination gets. A destination whose attributes cannot be read might be read-only, hidden or
  // system, and is left alone.
  const std::optional<DWORD> old_attributes = AttributesIn(folder_, destination_);
  if (!old_attributes || (*old_attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    Close();
    return Outcome::kNotReplaced;
  }
  // A hidden or system destination's attribute is the new file's before it takes the place, so
  // that the replace itself carries it.
  const DWORD kept = *old_attributes & kKeptAttributes;
  if (kept && !AddAttributes(kept)) {
    Close();
    return Outcome::kNotReplaced;
  }
  // Flushed while still marked: a kill during a long flush leaves nothing behind.
  if (!file_.Flush()) {
    Close();
    return Outcome::kNotWritten;
  }
  TAVREL_KILL_POINT("flushed");
  if (!MoveIntoPlace()) {
    Close();
    return Outcome::kNotReplaced;
  }
  TAVREL_KILL_POINT("replaced");
  // Flushed above; the file stands in its place whatever the close says.
  return HoldInstalled() ? Outcome::kInstalled : Outcome::kNotReplaced;
}

}  // namespace tavrel
