#include "platform/win32/win32_support_library.h"

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

std::string LibraryPath(const std::string& folder) {
  const bool ends_in_separator = !folder.empty() && folder.back() == '\\';
  return folder + (ends_in_separator ? "" : "\\") + "VOLSTRAK.dll";
}

template <typename Target>
Target As(FARPROC function) {
  return reinterpret_cast<Target>(reinterpret_cast<void*>(function));
}

}  // namespace

FARPROC Win32SupportLibrary::Lookup(Function function) {
  if (!load_tried_) {
    load_tried_ = true;
    const std::wstring path = Utf8ToWide(LibraryPath(directories_.ProgramFolder()));
    module_ = LoadLibraryExW(path.c_str(), /*hFile=*/nullptr, /*dwFlags=*/0);
  }
  const auto index = static_cast<std::size_t>(function);
  if (module_ && !lookup_tried_[index]) {
    lookup_tried_[index] = true;
    functions_[index] = GetProcAddress(module_, kExportNames[index]);
  }
  return functions_[index];
}

bool Win32SupportLibrary::Reachable(Function function) { return Lookup(function) != nullptr; }

std::optional<std::int32_t> Win32SupportLibrary::RegistDll(const std::string& path,
                                                           std::int32_t flag) {
  const auto function = As<RegistDllFunction>(Lookup(Function::kRegistDll));
  if (!function) return std::nullopt;
  return function(Utf8ToAnsi(path).c_str(), flag);
}

std::optional<std::int32_t> Win32SupportLibrary::CompareVersion(const std::string& source,
                                                                const std::string& destination,
                                                                std::int32_t& comparison) {
  const auto function = As<CompareVersionFunction>(Lookup(Function::kCompareVersion));
  if (!function) return std::nullopt;
  return function(Utf8ToAnsi(source).c_str(), Utf8ToAnsi(destination).c_str(), &comparison);
}

bool Win32SupportLibrary::CopyFileDateTime(const std::string& destination,
                                           const std::string& source) {
  const auto function = As<CopyFileDateTimeFunction>(Lookup(Function::kCopyFileDateTime));
  if (!function) return false;
  function(Utf8ToAnsi(destination).c_str(), Utf8ToAnsi(source).c_str());
  return true;
}

}  // namespace tavrel
