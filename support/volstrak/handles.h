#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavrel::volstrak {

struct ModuleFreer {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
// A loaded module, freed when it goes out of scope.
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// An open file. CreateFileW reports failure as INVALID_HANDLE_VALUE, never null: pass its result
// through OpenedFile so that a failed open is an empty UniqueHandle.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

inline UniqueHandle OpenedFile(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// The export `name` of `module` as a pointer of type `Function`; null when there is none.
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
  // Through void (*)(): the one function type that any other converts to without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace tavrel::volstrak
