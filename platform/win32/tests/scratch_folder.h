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

// A fresh folder with a Japanese name under %TEMP%, removed with everything in it afterwards.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              (L"作業" + std::to_wstring(GetCurrentProcessId()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;  // a DLL that was loaded may still be held
    std::filesystem::remove_all(path_, ignored);
  }

  // A file of the folder, written with `bytes` first when they are given.
  std::filesystem::path File(const std::wstring& name, const char* bytes = nullptr) const {
    if (bytes) std::ofstream(path_ / name, std::ios::binary) << bytes;
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tavrel
