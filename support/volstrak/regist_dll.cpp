#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/full_path.h"
#include "platform/win32/library_loading.h"
#include "support/volstrak/ansi_text.h"
#include "support/volstrak/handles.h"
#include "support/volstrak/ole_session.h"
#include "support/volstrak/volstrak.h"

namespace tavrel::volstrak {
namespace {

using ServerFunction = HRESULT(WINAPI*)();

// In regsvr32's order: OLE up, load, register, free, OLE down; the declarations below unwind in
// reverse.
std::int32_t Regist(const char* path, std::int32_t flag) {
  const std::optional<std::wstring> wide = WidenAnsi(path);
  if (!wide || wide->empty()) return 0;
  // Loaded by its full path: a bare name would be looked for along the library search path, and
  // a different DLL of that name could be registered.
  const std::optional<std::wstring> full = FullPathOf(*wide);
  if (!full) return 0;
  const OleSession ole;
  // Its dependencies are looked for beside it and in the system directory, never beside the
  // program that calls us, where anybody may have left a DLL that would run with its rights.
  const UniqueModule module(LoadLibrarySearchingItsFolder(full->c_str()));
  if (!module) return 0;
  const char* name = flag != 0 ? "DllRegisterServer" : "DllUnregisterServer";
  const auto server = FindFunction<ServerFunction>(module.get(), name);
  if (server == nullptr) return 0;
  return SUCCEEDED(server()) ? 1 : 0;
}

}  // namespace
}  // namespace tavrel::volstrak

extern "C" std::int32_t WINAPI RegistDll(const char* path, std::int32_t flag) {
  return tavrel::volstrak::Regist(path, flag);
}
