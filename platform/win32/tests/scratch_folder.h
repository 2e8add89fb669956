#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32/text_conversion.h"

namespace tavrel {

// Text the tests make is always valid; "?" would show in a failure where it was not.
inline std::wstring Wide(std::string_view text) { return Utf8ToWide(text).value_or(L"?"); }
inline std::string Narrow(std::wstring_view text) { return WideToUtf8(text).value_or("?"); }

// A fresh folder with a Japanese name under %TEMP%, removed with everything in it afterwards,
// read-only files too.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int count = 0;
    path_ = std::filesystem::temp_directory_path() /
            (L"作業" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // A file of the folder, written with `bytes` first when they are given.
  std::filesystem::path File(const std::wstring& name, const char* bytes = nullptr) const {
    if (bytes) std::ofstream(path_ / name, std::ios::binary) << bytes;
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tavrel
