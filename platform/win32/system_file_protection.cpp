#include "platform/win32/system_file_protection.h"

#include <string>

namespace tavrel {

SfcIsFileProtectedFunction LookUpSfcIsFileProtected(const LibraryLoader& load) {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(system, length) + L"\\sfc.dll";
  const HMODULE sfc = LoadLibrarySearchingItsFolder(path.c_str(), load);
  if (!sfc) return nullptr;
  return reinterpret_cast<SfcIsFileProtectedFunction>(
      reinterpret_cast<void*>(GetProcAddress(sfc, "SfcIsFileProtected")));
}

}  // namespace tavrel
