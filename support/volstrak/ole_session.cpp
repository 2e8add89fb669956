#include "support/volstrak/ole_session.h"

#include <windows.h>

#include <string>

#include "platform/win32/library_loading.h"
#include "support/volstrak/handles.h"

namespace tavrel::volstrak {
namespace {

using InitializeFunction = HRESULT(WINAPI*)(void*);
using UninitializeFunction = void(WINAPI*)();

struct OleFunctions {
  InitializeFunction initialize = nullptr;
  UninitializeFunction uninitialize = nullptr;
};

// ole32.dll is loaded by its full path in the system directory, at the first use, and kept: an
// import would be resolved along the search path, which starts beside the installer.
HMODULE LoadOle() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibrarySearchingItsFolder((std::wstring(folder, length) + L"\\ole32.dll").c_str());
}

const OleFunctions& Ole() {
  static const OleFunctions functions = [] {
    OleFunctions loaded;
    const HMODULE module = LoadOle();
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
