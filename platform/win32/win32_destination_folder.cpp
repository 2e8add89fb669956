#include "platform/win32/win32_destination_folder.h"

#include <winternl.h>

#include <cstdio>

#include "platform/win32/changeable_by_others.h"
#include "platform/win32/full_path.h"
#include "platform/win32/nt_files.h"
#include "platform/win32/win32_file.h"

namespace tavrel {
namespace {

constexpr int kTemporaryNameAttempts = 100;

// Different for every attempt of every process, so that two runs never race for one name.
std::wstring TemporaryName(int attempt) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  wchar_t name[40];
  std::swprintf(name, std::size(name), L"~tvr%lx%llx%x.tmp", GetCurrentProcessId(),
                static_cast<unsigned long long>(counter.QuadPart & 0xffffff),
                static_cast<unsigned>(attempt));
  return name;
}

// True when a folder on the way to `folder` (the drive's root not counted) is a link that others
// could have made or could replace: Windows would follow it wherever they point it.
bool PlantedLinkOnTheWay(const std::wstring& folder) {
  const std::size_t root = RootLengthOf(folder);
  if (root == 0) return true;
  for (std::size_t end = folder.find(L'\\', root); end != std::wstring::npos;
       end = folder.find(L'\\', end + 1)) {
    // Without its trailing separator, a link shows itself rather than its target.
    const std::wstring on_the_way = folder.substr(0, end);
    const DWORD attributes = GetFileAttributesW(on_the_way.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        PathChangeableByOthers(on_the_way, /*with_its_folder=*/false)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::unique_ptr<Win32DestinationFolder> Win32DestinationFolder::Hold(
    const std::wstring& destination) {
  const std::optional<std::wstring> full = FullPathOf(destination);
  const std::size_t separator = full ? full->rfind(L'\\') : std::wstring::npos;
  if (separator == std::wstring::npos || separator + 1 == full->size()) return nullptr;
  const std::wstring folder = full->substr(0, separator + 1);
  // Listing is enough to hold it; sharing reading and writing lets others use it meanwhile.
  ScopedHandle handle(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, /*hTemplateFile=*/nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &information) ||
      !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || PlantedLinkOnTheWay(folder)) {
    return nullptr;
  }
  return std::unique_ptr<Win32DestinationFolder>(
      new Win32DestinationFolder(std::move(handle), full->substr(separator + 1)));
}

std::unique_ptr<TemporaryFile> Win32DestinationFolder::CreateTemporary() {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    // DELETE access, so that the file can be marked to go with its handle and renamed through
    // it; its attributes are read to add a destination's. No FILE_ATTRIBUTE_TEMPORARY: the file
    // becomes the installed file and keeps its attributes.
    ScopedHandle handle = OpenInFolder(folder_.get(), TemporaryName(attempt),
                                       GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE,
                                       /*sharing=*/0, FILE_CREATE);
    if (handle.valid()) {
      return std::make_unique<Win32TemporaryFile>(std::move(handle), folder_.get(), name_);
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
      return nullptr;
  }
  return nullptr;
}

}  // namespace tavrel
