#include "platform/win32/win32_support_library.h"

#include "platform/win32/library_loading.h"
#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

// The library's exports are __stdcall on x86, under their undecorated names.
using RegistDllFunction = std::int32_t(__stdcall*)(const char* path, std::int32_t flag);
using CompareVersionFunction = std::int32_t(__stdcall*)(const char* source, const char* destination,
                                                        std::int32_t* comparison);
using CopyFileDateTimeFunction = std::int32_t(__stdcall*)(const char* destination,
                                                          const char* source);

constexpr std::array<const char*, 3> kExportNames = {"RegistDll", "CompareVersion",
                                                     "CopyFileDateTime"};

constexpr char kLibraryName[] = "VOLSTRAK.dll";

std::string LibraryPath(const std::string& folder) {
  const bool ends_in_separator = !folder.empty() && folder.back() == '\\';
  return folder + (ends_in_separator ? "" : "\\") + kLibraryName;
}

template <typename Target>
Target As(FARPROC function) {
  return reinterpret_cast<Target>(reinterpret_cast<void*>(function));
}

}  // namespace

// Where Windows' usual search would find the library, without the current folder and PATH, where
// anybody may have left a DLL of that name: beside the program, then the system directory, then
// the Windows directory. Each is loaded by its full path, and a DLL that the library needs may
// lie beside it.
HMODULE Win32SupportLibrary::Load() {
  const std::optional<std::string> program_folder = directories_.ProgramFolder();
  const std::string folders[] = {program_folder.value_or(""), directories_.SystemDirectory(),
                                 directories_.WindowsDirectory()};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::optional<std::wstring> path = Utf8ToWide(LibraryPath(folder));
    if (!path) continue;
    if (HMODULE module = LoadLibrarySearchingItsFolder(path->c_str())) {
      return module;
    }
  }
  return nullptr;
}

FARPROC Win32SupportLibrary::Lookup(Function function) {
  if (!load_tried_) {
    load_tried_ = true;
    module_ = Load();
  }
  const auto index = static_cast<std::size_t>(function);
  if (module_ && !lookup_tried_[index]) {
    lookup_tried_[index] = true;
    functions_[index] = GetProcAddress(module_, kExportNames[index]);
  }
  return functions_[index];
}

bool Win32SupportLibrary::Reachable(Function function) { return Lookup(function) != nullptr; }

bool Win32SupportLibrary::CanPass(const std::string& path) { return Utf8ToAnsi(path).has_value(); }

std::optional<std::int32_t> Win32SupportLibrary::RegistDll(const std::string& path,
                                                           std::int32_t flag) {
  const auto function = As<RegistDllFunction>(Lookup(Function::kRegistDll));
  const std::optional<std::string> ansi_path = Utf8ToAnsi(path);
  if (!function || !ansi_path) return std::nullopt;
  return function(ansi_path->c_str(), flag);
}

std::optional<std::int32_t> Win32SupportLibrary::CompareVersion(const std::string& source,
                                                                const std::string& destination,
                                                                std::int32_t& comparison) {
  const auto function = As<CompareVersionFunction>(Lookup(Function::kCompareVersion));
  const std::optional<std::string> ansi_source = Utf8ToAnsi(source);
  const std::optional<std::string> ansi_destination = Utf8ToAnsi(destination);
  if (!function || !ansi_source || !ansi_destination) return std::nullopt;
  return function(ansi_source->c_str(), ansi_destination->c_str(), &comparison);
}

bool Win32SupportLibrary::CopyFileDateTime(const std::string& destination,
                                           const std::string& source) {
  const auto function = As<CopyFileDateTimeFunction>(Lookup(Function::kCopyFileDateTime));
  const std::optional<std::string> ansi_destination = Utf8ToAnsi(destination);
  const std::optional<std::string> ansi_source = Utf8ToAnsi(source);
  if (!function || !ansi_destination || !ansi_source) return false;
  function(ansi_destination->c_str(), ansi_source->c_str());
  return true;
}

}  // namespace tavrel
