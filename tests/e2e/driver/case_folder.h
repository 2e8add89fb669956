#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::e2e {

// A fresh folder for one test case, laid out as a packager would: Tavrel.exe, a VOLSTRAK.dll
// beside it, and whatever the case adds (qxSetup.ini, files to install).
class CaseFolder {
 public:
  // Empties and creates <cases root>\<name>\app, with Tavrel.exe and the logging VOLSTRAK.dll.
  explicit CaseFolder(std::string_view name);

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path app() const { return root_ / L"app"; }
  std::filesystem::path exe() const { return app() / L"Tavrel.exe"; }
  std::filesystem::path log() const { return root_ / L"volstrak.log"; }
  // A destination folder of the case, created empty.
  std::filesystem::path Destination(std::string_view name) const;

  // Takes VOLSTRAK.dll away, as a packager might forget it.
  void RemoveSupportLibrary() const;

  // Writes qxSetup.ini beside the program, converted from UTF-8 to Shift-JIS.
  void WriteSetupDescription(std::string_view utf8_text) const;

 private:
  std::filesystem::path root_;
};

// Byte-level helpers for the files a case lays out and checks.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);
// Every file and folder below `folder`, in order: what a run left there.
// Both take paths longer than MAX_PATH.
std::vector<std::filesystem::path> EntriesIn(const std::filesystem::path& folder);
// Removes `folder` and everything below it, read-only files too; nothing when it is absent.
void RemoveTree(const std::filesystem::path& folder);
// A file of `size` bytes whose content differs from block to block.
void WritePattern(const std::filesystem::path& file, std::uint64_t size, std::uint32_t seed);

// A file of `size` zero bytes, made as a hole: it costs neither time nor room on disk.
void WriteZeros(const std::filesystem::path& file, std::uint64_t size);

// The last-write stamp in 100 ns units, as Windows keeps it.
std::uint64_t LastWrite(const std::filesystem::path& file);
void SetLastWrite(const std::filesystem::path& file, std::uint64_t stamp);
// A fixed stamp plus whole days, so that cases can order files by date.
std::uint64_t StampOfDay(int day);

}  // namespace tavrel::e2e
