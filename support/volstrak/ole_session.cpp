#include "support/volstrak/ole_session.h"

#include <windows.h>

#include "support/volstrak/handles.h"

namespace tavrel::volstrak {
namespace {

using InitializeFunction = HRESULT(WINAPI*)(void*);
using UninitializeFunction = void(WINAPI*)();

struct OleFunctions {
  InitializeFunction initialize = nullptr;
  UninitializeFunction uninitialize = nullptr;
};

// ole32.dll is loaded from the system directory only, at the first use, and kept: an import
// would be resolved along the search path, which starts beside the installer.
const OleFunctions& Ole() {
  static const OleFunctions functions = [] {
    OleFunctions loaded;
    const HMODULE module = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return loaded;
    const auto initialize = FindFunction<InitializeFunction>(module, "OleInitialize");
    const auto uninitialize = FindFunction<UninitializeFunction>(module, "OleUninitialize");
    if (initialize != nullptr && uninitialize != nullptr) loaded = {initialize, uninitialize};
    return loaded;
  }();
  return functions;
}

}  // namespace

OleSession::OleSession() {
  // S_FALSE (already initialised) counts too and is balanced like S_OK; RPC_E_CHANGED_MODE is not.
  initialised_ = Ole().initialize != nullptr && SUCCEEDED(Ole().initialize(nullptr));
}

OleSession::~OleSession() {
  if (initialised_) Ole().uninitialize();
}

}  // namespace tavrel::volstrak
