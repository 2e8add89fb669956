#include "platform/win32/win32_file.h"

#include <algorithm>

#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

// ReadFile and WriteFile take a 32-bit count; larger spans go in pieces.
constexpr std::size_t kLargestCall = 1u << 30;

// A virus scanner or indexer may hold a fresh file for a moment; the replace is tried again for
// about two seconds before it counts as refused.
constexpr int kReplaceAttempts = 20;
constexpr DWORD kReplacePauseMs = 100;

constexpr std::uint64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns steps

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD NextCount(std::size_t remaining) {
  return static_cast<DWORD>(std::min(remaining, kLargestCall));
}

bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
        attempt == kReplaceAttempts) {
      return false;
    }
    Sleep(kReplacePauseMs);
  }
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

bool Win32File::Close() {
  if (!handle_.valid()) return false;
  const bool flushed = mode_ == Mode::kRead || FlushFileBuffers(handle_.get());
  const bool closed = handle_.Close();
  return flushed && closed;
}

Win32TemporaryFile::Win32TemporaryFile(ScopedHandle handle, std::wstring path)
    : file_(std::move(handle), Win32File::Mode::kWrite), path_(std::move(path)) {
  // A file system that keeps no such mark still gets the file removed by Close().
  marked_ = MarkForDeletion(true);
}

bool Win32TemporaryFile::MarkForDeletion(bool marked) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = marked ? TRUE : FALSE;
  return SetFileInformationByHandle(file_.handle(), FileDispositionInfo, &disposition,
                                    sizeof disposition) != FALSE;
}

bool Win32TemporaryFile::Close() {
  const bool closed = file_.Close();
  if (!marked_) DeleteFileW(path_.c_str());
  return closed;
}

TemporaryFile::Outcome Win32TemporaryFile::Install(const std::string& destination) {
  const std::optional<std::wstring> target = Utf8ToWide(destination);
  // Windows refuses to replace a read-only file, but Wine replaces it; asking first makes both
  // keep it. An open destination or a folder makes the move itself fail.
  const DWORD old_attributes =
      target ? GetFileAttributesW(target->c_str()) : INVALID_FILE_ATTRIBUTES;
  const bool existed = old_attributes != INVALID_FILE_ATTRIBUTES;
  if (!target || (existed && (old_attributes & FILE_ATTRIBUTE_READONLY))) {
    Close();
    return Outcome::kNotReplaced;
  }
  if (marked_ && !MarkForDeletion(false)) {
    Close();
    return Outcome::kNotWritten;
  }
  marked_ = false;
  if (!file_.Close()) {
    DeleteFileW(path_.c_str());
    return Outcome::kNotWritten;
  }
  if (!MoveIntoPlace(path_, *target)) {
    DeleteFileW(path_.c_str());
    return Outcome::kNotReplaced;
  }
  // The new file comes with attributes of its own; a hidden or system file stays one.
  if (existed && (old_attributes & kKeptAttributes)) {
    const DWORD attributes = GetFileAttributesW(target->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      SetFileAttributesW(target->c_str(), attributes | (old_attributes & kKeptAttributes));
    }
  }
  return Outcome::kInstalled;
}

}  // namespace tavrel
