#pragma once

// What the tests of VOLSTRAK.dll share: the loaded library, scratch folders, fixture files and
// paths in the ANSI code page, as the installer passes them.

#include <windows.h>

#include <filesystem>
#include <string>

#include "support/volstrak/volstrak.h"

namespace tavrel::volstrak {

// The three exports of one built VOLSTRAK.dll, reached as the installer reaches them.
struct Exports {
  decltype(&::RegistDll) regist_dll = nullptr;
  decltype(&::CompareVersion) compare_version = nullptr;
  decltype(&::CopyFileDateTime) copy_file_date_time = nullptr;
};

// Loaded once and kept for the run; a test fails at once when either cannot be loaded.
const Exports& Production();
const Exports& Logging();

// A fresh empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// What a test puts at a path: a fixture DLL (L"v1" for fixtures/fixture_v1.dll), a text file
// that is no DLL (kTextFile), or nothing (kNoFile).
inline constexpr const wchar_t* kTextFile = L"<text>";
inline constexpr const wchar_t* kNoFile = nullptr;

// Places `what` at `path` and returns `path`.
std::filesystem::path Place(const wchar_t* what, const std::filesystem::path& path);

// Writes `text` to a new file at `path`.
void WriteTextFile(const std::filesystem::path& path, const std::string& text);

// The contents of the file at `path`; empty when there is none.
std::string ReadTextFile(const std::filesystem::path& path);

// `path` in the ANSI code page; the test fails when the code page cannot express it.
std::string Ansi(const std::filesystem::path& path);

// `path` in UTF-8.
std::string Utf8(const std::filesystem::path& path);

}  // namespace tavrel::volstrak
