#include "platform/win32/win32_file.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/win32/kill_point.h"
#include "platform/win32/text_conversion.h"

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

// The attributes of the file at `path`: 0 when there is none, nothing when they cannot be read.
std::optional<DWORD> AttributesOf(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return attributes;
  if (GetLastError() == ERROR_FILE_NOT_FOUND) return DWORD{0};
  return std::nullopt;
}

// FILE_RENAME_INFO for a rename that replaces `target`. The name follows the structure, NUL
// included; FileNameLength counts its bytes without the NUL.
std::vector<std::byte> RenameInfo(const std::wstring& target) {
  const std::size_t name_bytes = target.size() * sizeof(wchar_t);
  std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
  FILE_RENAME_INFO info{};
  info.ReplaceIfExists = TRUE;
  info.RootDirectory = nullptr;
  info.FileNameLength = static_cast<DWORD>(name_bytes);
  std::memcpy(buffer.data(), &info, offsetof(FILE_RENAME_INFO, FileName));
  std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFO, FileName), target.c_str(), name_bytes);
  return buffer;
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

Win32TemporaryFile::Win32TemporaryFile(ScopedHandle handle, std::wstring path)
    : file_(std::move(handle), Win32File::Mode::kWrite), path_(std::move(path)) {
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
  // Where the mark is missing, the file goes by its name once closed.
  const bool closed = file_.CloseUnflushed();
  if (!marked_) DeleteFileW(path_.c_str());
  return closed;
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

// Renames the file over `target` through its handle, so that no name has to be opened. The mark
// is off for each attempt alone: a refused one marks the file again before anything else.
bool Win32TemporaryFile::MoveIntoPlace(const std::wstring& target) {
  std::vector<std::byte> rename = RenameInfo(target);
  const bool markable = marked_;
  for (int attempt = 1;; ++attempt) {
    if (markable && !MarkForDeletion(false)) return false;
    if (SetFileInformationByHandle(file_.handle(), FileRenameInfo, rename.data(),
                                   static_cast<DWORD>(rename.size()))) {
      return true;
    }
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

TemporaryFile::Outcome Win32TemporaryFile::Install(const std::string& destination) {
  TAVREL_KILL_POINT("written");
  const std::optional<std::wstring> target = Utf8ToWide(destination);
  // Windows refuses to replace a read-only file, but Wine replaces it; asking first makes both
  // keep it, and refuses it, like a folder, at once instead of after the retries that an open
  // destination gets. A destination whose attributes cannot be read might be read-only, hidden or
  // system, and is left alone.
  const std::optional<DWORD> old_attributes = target ? AttributesOf(*target) : std::nullopt;
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
  if (!MoveIntoPlace(*target)) {
    Close();
    return Outcome::kNotReplaced;
  }
  TAVREL_KILL_POINT("replaced");
  // Flushed above; the file stands in its place whatever the close says.
  file_.CloseUnflushed();
  return Outcome::kInstalled;
}

}  // namespace tavrel
