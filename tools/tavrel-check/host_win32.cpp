#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdio>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_directories.h"
#include "platform/win32/win32_profile.h"
#include "tools/tavrel-check/host.h"

namespace tavrel {

std::unique_ptr<Profile> MakeProfile() { return std::make_unique<Win32Profile>(); }

std::string DefaultWindowsDirectory() { return Win32Directories().WindowsDirectory(); }

std::string DefaultSystemDirectory() { return Win32Directories().SystemDirectory(); }

Language UserLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::kJapanese
                                                                    : Language::kEnglish;
}

std::string AnsiToUtf8Text(std::string_view ansi) { return AnsiToUtf8(ansi).value_or("\uFFFD"); }

// argv holds the ANSI code page, which loses names outside it; the wide command line does not.
std::vector<std::string> CommandArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i)
    arguments.push_back(WideToUtf8(wide[i]).value_or(""));
  LocalFree(wide);
  return arguments;
}

void WriteText(const std::string& text, bool to_error) {
  HANDLE handle = GetStdHandle(to_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  // A console shows UTF-16; anything else gets the UTF-8 bytes unchanged.
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Utf8ToWide(text).value_or(L"\uFFFD");
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::FILE* stream = to_error ? stderr : stdout;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace tavrel
