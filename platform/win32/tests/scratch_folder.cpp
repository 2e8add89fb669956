#include "platform/win32/tests/scratch_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

std::filesystem::path Native(const std::string& path) { return Utf8ToWide(path); }

}  // namespace

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (L"作業" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter));
  std::filesystem::create_directories(folder);
  path_ = WideToUtf8(folder.wstring());
}

ScratchFolder::~ScratchFolder() {
  // Read-only files would stop remove_all.
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Native(path_), error)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(Native(path_), error);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  ASSERT_TRUE(out) << path;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

}  // namespace tavrel
