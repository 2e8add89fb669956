#pragma once

#include <windows.h>

#include "platform/win32/library_loading.h"

namespace tavrel {

using SfcIsFileProtectedFunction = BOOL(WINAPI*)(HANDLE rpc_handle, const wchar_t* file_name);

// SfcIsFileProtected from sfc.dll in the system directory, loaded by its full path and never
// through the search, since the program runs as administrator; null where Windows has none.
// `load` stands for LoadLibraryExW in the tests.
SfcIsFileProtectedFunction LookUpSfcIsFileProtected(
    const LibraryLoader& load = LoadLibraryWithFlags);

}  // namespace tavrel
