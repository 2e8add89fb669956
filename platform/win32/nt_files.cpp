#include "platform/win32/nt_files.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace tavrel {
namespace {

// The structure of a rename with a folder handle; winternl.h leaves it out.
struct RenameInformation {
  BOOLEAN ReplaceIfExists;
  HANDLE RootDirectory;
  ULONG FileNameLength;
  WCHAR FileName[1];
};

bool Succeeded(NTSTATUS status) {
  if (status >= 0) return true;
  SetLastError(RtlNtStatusToDosError(status));
  return false;
}

// One name in the folder, short enough for a counted string: a separator would reach elsewhere.
bool IsPlainName(const std::wstring& name) {
  if (!name.empty() && name.size() < 0x7fff && name.find_first_of(L"\\/") == std::wstring::npos)
    return true;
  SetLastError(ERROR_INVALID_NAME);
  return false;
}

UNICODE_STRING Counted(const std::wstring& name) {
  const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  return UNICODE_STRING{bytes, bytes, const_cast<wchar_t*>(name.c_str())};
}

}  // namespace

ScopedHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access,
                          ULONG sharing, ULONG disposition) {
  if (!IsPlainName(name)) return ScopedHandle(INVALID_HANDLE_VALUE);
  UNICODE_STRING counted = Counted(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE handle = INVALID_HANDLE_VALUE;
  const NTSTATUS status = NtCreateFile(
      &handle, access | SYNCHRONIZE, &attributes, &io, /*AllocationSize=*/nullptr,
      FILE_ATTRIBUTE_NORMAL, sharing, disposition,
      FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
      /*EaBuffer=*/nullptr, /*EaLength=*/0);
  return ScopedHandle(Succeeded(status) ? handle : INVALID_HANDLE_VALUE);
}

bool RenameInFolder(HANDLE file, HANDLE folder, const std::wstring& name) {
  if (!IsPlainName(name)) return false;
  const std::size_t name_bytes = name.size() * sizeof(wchar_t);
  std::vector<std::byte> buffer(offsetof(RenameInformation, FileName) + name_bytes);
  RenameInformation info{};
  info.ReplaceIfExists = TRUE;
  info.RootDirectory = folder;
  info.FileNameLength = static_cast<ULONG>(name_bytes);
  std::memcpy(buffer.data(), &info, offsetof(RenameInformation, FileName));
  std::memcpy(buffer.data() + offsetof(RenameInformation, FileName), name.c_str(), name_bytes);
  IO_STATUS_BLOCK io{};
  return Succeeded(NtSetInformationFile(file, &io, buffer.data(),
                                        static_cast<ULONG>(buffer.size()),
                                        FileRenameInformation));
}

}  // namespace tavrel
