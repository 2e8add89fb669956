#include "platform/win32/library_loading.h"

namespace tavrel {

HMODULE LoadLibraryWithFlags(const wchar_t* path, DWORD flags) {
  return LoadLibraryExW(path, /*hFile=*/nullptr, flags);
}

HMODULE LoadLibrarySearchingItsFolder(const wchar_t* full_path) {
  return LoadLibrarySearchingItsFolder(full_path, LoadLibraryWithFlags);
}

HMODULE LoadLibrarySearchingItsFolder(const wchar_t* full_path, const LibraryLoader& load) {
  if (HMODULE module =
          load(full_path, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  // Only a refusal of the flags is tried again: a missing file or dependency, or a file that is
  // no DLL of ours, must not be looked for along the wider search.
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  return load(full_path, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tavrel
