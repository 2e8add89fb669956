#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_file.h"

namespace tavrel {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns steps
constexpr int kTemporaryNameAttempts = 100;

// The attributes of an existing file, never of a folder.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileAttributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return data;
}

std::uint64_t Combine(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | std::uint64_t{low};
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
  // GetFileAttributesExW matches no wildcards itself, but the names would be invalid anyway.
  if (path.find_first_of("*?") != std::string::npos) return false;
  const auto data = FileAttributes(path);
  return data && !(data->dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

std::optional<std::uint64_t> Win32FileSystem::Length(const std::string& path) {
  const auto data = FileAttributes(path);
  if (!data) return std::nullopt;
  return Combine(data->nFileSizeHigh, data->nFileSizeLow);
}

std::optional<FileTime> Win32FileSystem::LastModified(const std::string& path) {
  const auto data = FileAttributes(path);
  if (!data) return std::nullopt;
  const std::uint64_t ticks =
      Combine(data->ftLastWriteTime.dwHighDateTime, data->ftLastWriteTime.dwLowDateTime);
  return static_cast<FileTime>(ticks / kTicksPerSecond);
}

bool Win32FileSystem::Delete(const std::string& path) {
  return DeleteFileW(Utf8ToWide(path).c_str()) != FALSE;
}

std::unique_ptr<File> Win32FileSystem::OpenForReading(const std::string& path) {
  ScopedHandle handle(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                  /*hTemplateFile=*/nullptr));
  if (!handle.valid()) return nullptr;
  return std::make_unique<Win32File>(std::move(handle), Win32File::Mode::kRead);
}

std::optional<TemporaryFile> Win32FileSystem::CreateTemporaryBeside(const std::string& path) {
  const std::size_t separator = path.find_last_of('\\');
  if (separator == std::string::npos) return std::nullopt;
  const std::string folder = path.substr(0, separator + 1);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    std::string name = folder + TemporaryName(attempt);
    // No FILE_ATTRIBUTE_TEMPORARY: the file becomes the installed file and keeps its attributes.
    ScopedHandle handle(CreateFileW(Utf8ToWide(name).c_str(), GENERIC_WRITE, /*dwShareMode=*/0,
                                    /*lpSecurityAttributes=*/nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                    /*hTemplateFile=*/nullptr));
    if (handle.valid()) {
      return TemporaryFile{std::make_unique<Win32File>(std::move(handle), Win32File::Mode::kWrite),
                           std::move(name)};
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool Win32FileSystem::Replace(const std::string& temporary, const std::string& destination) {
  const std::wstring wide_destination = Utf8ToWide(destination);
  // Windows refuses to replace a read-only file, but Wine replaces it; asking first makes both
  // keep it. An open destination or a folder makes the move itself fail.
  const DWORD attributes = GetFileAttributesW(wide_destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  return MoveFileExW(Utf8ToWide(temporary).c_str(), wide_destination.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace tavrel
