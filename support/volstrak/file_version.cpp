#include "support/volstrak/file_version.h"

#include <windows.h>

#include <vector>

namespace tavrel::volstrak {
namespace {

// version.dll is loaded from the system directory only and at the first use, never imported:
// an import would be resolved along the search path, which starts beside the installer.
struct VersionFunctions {
  decltype(&GetFileVersionInfoSizeW) info_size = nullptr;
  decltype(&GetFileVersionInfoW) info = nullptr;
  decltype(&VerQueryValueW) query_value = nullptr;
};

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  // Through void (*)(): the one function type that any other converts to without a warning.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Loaded once and kept for the life of the process; null members when it cannot be loaded.
const VersionFunctions& Version() {
  static const VersionFunctions functions = [] {
    VersionFunctions loaded;
    const HMODULE module = LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return loaded;
    Resolve(module, "GetFileVersionInfoSizeW", loaded.info_size);
    Resolve(module, "GetFileVersionInfoW", loaded.info);
    Resolve(module, "VerQueryValueW", loaded.query_value);
    return loaded;
  }();
  return functions;
}

}  // namespace

std::optional<std::uint64_t> ReadFileVersion(const std::wstring& path) {
  const VersionFunctions& version = Version();
  if (!version.info_size || !version.info || !version.query_value) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = version.info_size(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!version.info(path.c_str(), 0, size, block.data())) return std::nullopt;
  void* value = nullptr;
  UINT value_size = 0;
  if (!version.query_value(block.data(), L"\\", &value, &value_size)) return std::nullopt;
  if (value == nullptr || value_size < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return std::uint64_t{fixed->dwFileVersionMS} << 32 | fixed->dwFileVersionLS;
}

}  // namespace tavrel::volstrak
