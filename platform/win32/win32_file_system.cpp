#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_file.h"

namespace tavrel {
namespace {

constexpr int kTemporaryNameAttempts = 100;

// The attributes of an existing file, never of a folder.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileAttributes(const std::string& path) {
  // GetFileAttributesExW matches no wildcards itself, but such names would be invalid anyway.
  const std::optional<std::wstring> wide = Utf8ToWide(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!wide || path.find_first_of("*?") != std::string::npos ||
      !GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return data;
}

ScopedHandle OpenFile(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  const std::optional<std::wstring> wide = Utf8ToWide(path);
  if (!wide) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return ScopedHandle(INVALID_HANDLE_VALUE);
  }
  return ScopedHandle(CreateFileW(wide->c_str(), access, sharing,
                                  /*lpSecurityAttributes=*/nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                  /*hTemplateFile=*/nullptr));
}

// Different for every attempt of every process, so that two runs never race for one name.
std::string TemporaryName(int attempt) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  char name[40];
  std::snprintf(name, sizeof name, "~tvr%lx%llx%x.tmp", GetCurrentProcessId(),
                static_cast<unsigned long long>(counter.QuadPart & 0xffffff),
                static_cast<unsigned>(attempt));
  return name;
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
  const auto data = FileAttributes(path);
  return data && !(data->dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool Win32FileSystem::IsFile(const std::string& path) { return FileAttributes(path).has_value(); }

bool Win32FileSystem::Readable(const std::string& path) {
  return OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  OPEN_EXISTING)
      .valid();
}

std::optional<FileTime> Win32FileSystem::LastModified(const std::string& path) {
  const auto data = FileAttributes(path);
  if (!data) return std::nullopt;
  return SecondsOf(data->ftLastWriteTime);
}

std::unique_ptr<File> Win32FileSystem::OpenForReading(const std::string& path) {
  // Shared for reading only: nobody can change the bytes while they are copied.
  ScopedHandle handle = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!handle.valid()) return nullptr;
  return std::make_unique<Win32File>(std::move(handle), Win32File::Mode::kRead);
}

std::unique_ptr<TemporaryFile> Win32FileSystem::CreateTemporaryBeside(const std::string& path) {
  const std::size_t separator = path.find_last_of('\\');
  if (separator == std::string::npos) return nullptr;
  const std::string folder = path.substr(0, separator + 1);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string name = folder + TemporaryName(attempt);
    // DELETE access, so that the file can be marked to go with its handle and renamed through
    // it; its attributes are read to add a destination's. No FILE_ATTRIBUTE_TEMPORARY: the file
    // becomes the installed file and keeps its attributes.
    ScopedHandle handle =
        OpenFile(name, GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE, /*sharing=*/0, CREATE_NEW);
    if (handle.valid()) {
      return std::make_unique<Win32TemporaryFile>(std::move(handle), *Utf8ToWide(name));
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return nullptr;
  }
  return nullptr;
}

}  // namespace tavrel
