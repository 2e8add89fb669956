#include "platform/win32/win32_directories.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

TEST(Win32DirectoriesTest, WindowsAndSystemDirectoriesAsWindowsNamesThem) {
  Win32Directories directories;
  wchar_t windows[MAX_PATH] = {};
  wchar_t system[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(directories.WindowsDirectory(), WideToUtf8(windows));
  EXPECT_EQ(directories.SystemDirectory(), WideToUtf8(system));
  EXPECT_FALSE(directories.WindowsDirectory().empty());
}

TEST(Win32DirectoriesTest, ProgramFolderIsTheFolderOfThisProgramWithoutSeparator) {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::string folder = Win32Directories().ProgramFolder();
  const std::string file = WideToUtf8(program);
  ASSERT_GT(file.size(), folder.size());
  EXPECT_EQ(file.substr(0, folder.size() + 1), folder + "\\");
  EXPECT_EQ(file.find('\\', folder.size() + 1), std::string::npos);
  EXPECT_NE(folder.back(), '\\');
}

TEST(Win32DirectoriesTest, FolderOfProgramFileKeepsTheSeparatorOnlyAtADriveRoot) {
  const struct {
    const wchar_t* file;
    const char* folder;
  } cases[] = {
      {L"C:\\Setup\\Tavrel.exe", "C:\\Setup"},
      {L"C:\\Tavrel.exe", "C:\\"},
      {L"D:\\セットアップ\\ディスク1\\Tavrel.exe", "D:\\セットアップ\\ディスク1"},
      {L"\\\\server\\share\\Tavrel.exe", "\\\\server\\share"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOfProgramFile(c.file), c.folder);
  }
}

}  // namespace
}  // namespace tavrel
