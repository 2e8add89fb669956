#include "volstrak_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "support/volstrak/handles.h"
#include "volstrak_test_paths.h"

namespace tavrel::volstrak {
namespace {

template <typename Function>
Function Find(HMODULE module, const char* name) {
  const auto function = FindFunction<Function>(module, name);
  if (function == nullptr) throw std::runtime_error(std::string("no export ") + name);
  return function;
}

Exports Load(const wchar_t* dll) {
  const std::wstring path = std::filesystem::path(dll).make_preferred().wstring();
  const HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) throw std::runtime_error("cannot load VOLSTRAK.dll");
  return Exports{Find<decltype(&::RegistDll)>(module, "RegistDll"),
                 Find<decltype(&::CompareVersion)>(module, "CompareVersion"),
                 Find<decltype(&::CopyFileDateTime)>(module, "CopyFileDateTime")};
}

}  // namespace

const Exports& Production() {
  static const Exports exports = Load(kVolstrakDll);
  return exports;
}

const Exports& Logging() {
  static const Exports exports = Load(kVolstrakLoggingDll);
  return exports;
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> count = 0;
  path_ =
      std::filesystem::temp_directory_path() /
      ("volstrak-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(count++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path Place(const wchar_t* what, const std::filesystem::path& path) {
  if (what == kNoFile) return path;
  if (std::wstring_view(what) == kTextFile) {
    WriteTextFile(path, "MZ is not enough to make a DLL.\r\n");
  } else {
    const std::filesystem::path fixture =
        std::filesystem::path(kFixtureDir) / (std::wstring(L"fixture_") + what + L".dll");
    std::filesystem::copy_file(fixture.lexically_normal().make_preferred(), path);
  }
  return path;
}

void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Ansi(const std::filesystem::path& path) {
  const std::wstring wide = path.wstring();
  const int wide_size = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wide_size,
                                       nullptr, 0, nullptr, &lossy);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wide_size, text.data(), size,
                      nullptr, &lossy);
  EXPECT_FALSE(lossy) << "the ANSI code page cannot express a test path";
  return text;
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tavrel::volstrak
