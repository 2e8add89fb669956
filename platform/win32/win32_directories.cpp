#include "platform/win32/win32_directories.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/program_file.h"
#include "platform/win32/system_file_protection.h"
#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

constexpr UINT kDirectoryBuffer = 260;

// The buffer starts zeroed, so an unexamined failure reads as the empty text; so does a name
// that is not text in the ANSI code page.
template <typename Lookup>
std::string AnsiDirectory(Lookup lookup) {
  char buffer[kDirectoryBuffer] = {};
  lookup(buffer, kDirectoryBuffer);
  return AnsiToUtf8(std::string_view(buffer, strnlen(buffer, kDirectoryBuffer))).value_or("");
}

}  // namespace

std::string Win32Directories::WindowsDirectory() { return AnsiDirectory(GetWindowsDirectoryA); }

std::string Win32Directories::SystemDirectory() { return AnsiDirectory(GetSystemDirectoryA); }

std::optional<std::string> FolderOfProgramFile(std::wstring_view program_file) {
  const std::size_t separator = program_file.find_last_of(L'\\');
  std::wstring folder(program_file.substr(0, separator == std::wstring_view::npos ? 0 : separator));
  // "C:" alone would name the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return WideToUtf8(folder);
}

std::optional<std::string> Win32Directories::ProgramFolder() {
  return FolderOfProgramFile(ProgramFile());
}

// Looked up once, at the first call; where Windows has no such function, nothing is protected.
bool Win32Directories::ProtectedBySystem(const std::string& path) {
  static const SfcIsFileProtectedFunction is_protected = LookUpSfcIsFileProtected();
  const std::optional<std::wstring> wide = Utf8ToWide(path);
  return is_protected && wide && is_protected(/*RpcHandle=*/nullptr, wide->c_str()) != FALSE;
}

}  // namespace tavrel
