// What the Windows layer decides by itself and no end-to-end scenario reaches: the folder of a
// program at a drive's root or on a share, which files count as present, and the conversion
// flags that Windows accepts for each code page (Wine accepts them all, so no run shows them).
// Everything else of it is seen running in tests/e2e.

#include <gtest/gtest.h>

#include "platform/win32/tests/scratch_folder.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_directories.h"
#include "platform/win32/win32_file_system.h"

namespace tavrel {
namespace {

TEST(Win32Platform, FolderOfProgramFileKeepsTheSeparatorOnlyAtADriveRoot) {
  const struct {
    const wchar_t* file;
    const char* folder;
  } cases[] = {
      {L"C:\\Setup\\Tavrel.exe", "C:\\Setup"},
      {L"C:\\Tavrel.exe", "C:\\"},
      {L"D:\\セットアップ\\ディスク1\\Tavrel.exe", "D:\\セットアップ\\ディスク1"},
      {L"\\\\server\\share\\Tavrel.exe", "\\\\server\\share"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOfProgramFile(c.file), c.folder);
}

TEST(Win32Platform, ExistsForAFileAtExactlyThePathAndNoPattern) {
  const ScratchFolder folder;
  folder.File(L"plain.dll", "x");
  folder.File(L"日本語の名前.dll", "x");
  CreateDirectoryW(folder.File(L"folder.dll").c_str(), nullptr);
  const struct {
    const wchar_t* name;
    bool exists;
  } cases[] = {{L"plain.dll", true},        {L"PLAIN.DLL", true},
               {L"日本語の名前.dll", true}, {L"folder.dll", false},
               {L"missing.dll", false},     {L"*.dll", false},
               {L"plain.dl?", false},       {L"", false}};
  Win32FileSystem files;
  for (const auto& c : cases) {
    EXPECT_EQ(files.Exists(Narrow(folder.File(c.name).wstring())), c.exists) << Narrow(c.name);
  }
}

TEST(Win32Platform, ConversionFlagsAreOnlyThoseWindowsTakesForTheCodePage) {
  // Windows fails WC_NO_BEST_FIT_CHARS for UTF-8 (ERROR_INVALID_FLAGS), lpUsedDefaultChar for
  // UTF-8 and UTF-7 (ERROR_INVALID_PARAMETER), and any flag for ISO-2022 and UTF-7.
  const struct {
    UINT code_page;
    DWORD narrowing;
    bool reports_default_char;
    DWORD widening;
  } cases[] = {
      {932, WC_NO_BEST_FIT_CHARS, true, MB_ERR_INVALID_CHARS},
      {1252, WC_NO_BEST_FIT_CHARS, true, MB_ERR_INVALID_CHARS},
      {CP_UTF8, WC_ERR_INVALID_CHARS, false, MB_ERR_INVALID_CHARS},
      {54936, WC_ERR_INVALID_CHARS, true, MB_ERR_INVALID_CHARS},
      {50220, 0, true, 0},
      {CP_UTF7, 0, false, 0},
  };
  for (const auto& c : cases) {
    const NarrowingFlags flags = NarrowingFlagsFor(c.code_page);
    EXPECT_EQ(flags.flags, c.narrowing) << c.code_page;
    EXPECT_EQ(flags.reports_default_char, c.reports_default_char) << c.code_page;
    EXPECT_EQ(WideningFlagsFor(c.code_page), c.widening) << c.code_page;
  }
}

}  // namespace
}  // namespace tavrel
