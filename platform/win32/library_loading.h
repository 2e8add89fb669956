#pragma once

#include <windows.h>

#include <functional>

namespace tavrel {

// LoadLibraryExW for a path with those flags: the module, or null with the last error set.
using LibraryLoader = std::function<HMODULE(const wchar_t* path, DWORD flags)>;
HMODULE LoadLibraryWithFlags(const wchar_t* path, DWORD flags);

// The DLL at `full_path`, whose own dependencies are looked for beside it, then in the system
// directory: never beside the program (a download folder, say), in the current folder or along
// PATH. Vista, and 7 without KB2533623, refuse those search flags (ERROR_INVALID_PARAMETER);
// there the DLL is loaded with LOAD_WITH_ALTERED_SEARCH_PATH, the nearest they have, where its
// folder takes the program's place in the standard search. Both need a full path. Null, with
// the last error set, when it cannot be loaded. `load` stands for LoadLibraryExW in the tests.
HMODULE LoadLibrarySearchingItsFolder(const wchar_t* full_path);
HMODULE LoadLibrarySearchingItsFolder(const wchar_t* full_path, const LibraryLoader& load);

}  // namespace tavrel
