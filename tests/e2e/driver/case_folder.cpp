#include "tests/e2e/driver/case_folder.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/artefacts.h"
#include "tests/e2e/driver/text.h"

namespace fs = std::filesystem;

namespace tavrel::e2e {
namespace {

class FileHandle {
 public:
  FileHandle(const fs::path& file, DWORD access)
      : handle_(CreateFileW(file.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + file.string());
  }
  ~FileHandle() { CloseHandle(handle_); }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Paths beyond MAX_PATH need the "\\?\" form, which the standard library's folder walk does
// not use under mingw-w64; the driver walks folders itself, so that cases may make such paths.
std::wstring LongForm(const fs::path& path) { return L"\\\\?\\" + path.wstring(); }

struct Entry {
  fs::path path;
  bool is_folder;
};

std::vector<Entry> Children(const fs::path& folder) {
  std::vector<Entry> children;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return children;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    children.push_back({folder / name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return children;
}

}  // namespace

CaseFolder::CaseFolder(std::string_view name) : root_(CasesRoot() / Utf8ToWide(name)) {
  RemoveTree(root_);
  fs::create_directories(app());
  fs::copy_file(TavrelExe(), exe());
  fs::copy_file(LoggingVolstrak(), app() / L"VOLSTRAK.dll");
}

fs::path CaseFolder::Destination(std::string_view name) const {
  fs::path folder = root_ / Utf8ToWide(name);
  fs::create_directories(folder);
  return folder;
}

void CaseFolder::RemoveSupportLibrary() const { fs::remove(app() / L"VOLSTRAK.dll"); }

void CaseFolder::WriteSetupDescription(std::string_view utf8_text) const {
  WriteBytes(app() / L"qxSetup.ini", ShiftJis(utf8_text));
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> EntriesIn(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const Entry& child : Children(folder)) {
    entries.push_back(child.path);
    if (!child.is_folder) continue;
    const std::vector<fs::path> below = EntriesIn(child.path);
    entries.insert(entries.end(), below.begin(), below.end());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

void RemoveTree(const fs::path& folder) {
  for (const Entry& child : Children(folder)) {
    if (child.is_folder) {
      RemoveTree(child.path);
    } else {
      SetFileAttributesW(LongForm(child.path).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(LongForm(child.path).c_str());
    }
  }
  RemoveDirectoryW(LongForm(folder).c_str());
  if (GetFileAttributesW(LongForm(folder).c_str()) != INVALID_FILE_ATTRIBUTES) {
    throw std::runtime_error("cannot remove " + folder.string());
  }
}

void WritePattern(const fs::path& file, std::uint64_t size, std::uint32_t seed) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::vector<std::uint32_t> block(1 << 16);
  std::uint32_t state = seed;
  for (std::uint64_t written = 0; written < size;) {
    for (auto& word : block) word = state = state * 1664525u + 1013904223u;
    const auto chunk = std::min<std::uint64_t>(size - written, block.size() * 4);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(chunk));
    written += chunk;
  }
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void WriteZeros(const fs::path& file, std::uint64_t size) {
  WriteBytes(file, "");
  fs::resize_file(file, size);
}

std::uint64_t LastWrite(const fs::path& file) {
  FileHandle handle(file, GENERIC_READ);
  FILETIME written{};
  GetFileTime(handle.get(), nullptr, nullptr, &written);
  return (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

void SetLastWrite(const fs::path& file, std::uint64_t stamp) {
  FileHandle handle(file, GENERIC_WRITE);
  const FILETIME written{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
  if (!SetFileTime(handle.get(), nullptr, nullptr, &written)) {
    throw std::runtime_error("cannot stamp " + file.string());
  }
}

std::uint64_t StampOfDay(int day) {
  // 2020-01-01 00:00 UTC in FILETIME units; whole seconds, which every file system keeps.
  constexpr std::uint64_t kBase = 132223104000000000ull;
  constexpr std::uint64_t kDay = 24ull * 3600 * 10'000'000;
  return kBase + static_cast<std::uint64_t>(day) * kDay;
}

}  // namespace tavrel::e2e
