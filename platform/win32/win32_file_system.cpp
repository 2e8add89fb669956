#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/changeable_by_others.h"
#include "platform/win32/full_path.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_destination_folder.h"
#include "platform/win32/win32_file.h"

namespace tavrel {
namespace {

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

std::unique_ptr<DestinationFolder> Win32FileSystem::HoldFolderOf(const std::string& destination) {
  const std::optional<std::wstring> wide = Utf8ToWide(destination);
  return wide ? Win32DestinationFolder::Hold(*wide) : nullptr;
}

bool Win32FileSystem::ChangeableByOthers(const std::string& path) {
  const std::optional<std::wstring> wide = Utf8ToWide(path);
  const std::optional<std::wstring> full = wide ? FullPathOf(*wide) : std::nullopt;
  return !full || PathChangeableByOthers(*full, /*with_its_folder=*/true);
}

}  // namespace tavrel
