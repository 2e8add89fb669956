// What the Windows layer decides by itself and no end-to-end scenario reaches: the folder of a
// program at a drive's root or on a share, which files count as present, and no look-alike
// characters in ANSI text. Everything else of it is seen running in tests/e2e.

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

TEST(Win32Platform, CharactersOutsideTheCodePageNeverBecomeLookAlikes) {
  // Best fit would give "\" for the yen sign and "A" for A-ring, changing what a path names.
  EXPECT_EQ(Utf8ToAnsi("C:\u00a5Å.dll"), std::nullopt);
  EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi("ｾｯﾄｱｯﾌﾟ C:\\表示.dll").value()), "ｾｯﾄｱｯﾌﾟ C:\\表示.dll");
}

}  // namespace
}  // namespace tavrel
