// A destination's folder is held for the copy, and the file put in place stays held until the
// support library has set its date: neither can be renamed or deleted meanwhile, while the file
// can still be opened as a library would open it to set its times.

#include "platform/win32/win32_destination_folder.h"

#include "platform/win32/text_conversion.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

bool Opens(const std::wstring& path, DWORD access) {
  const HANDLE file = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

TEST(Win32DestinationFolder, HoldsTheFolderAndTheInstalledFileUntilReleased) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = temp + std::to_wstring(GetCurrentProcessId()) + L"-held",
                     moved = folder + L"-moved", file = folder + L"\\a.dll";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  {
    const std::string destination = WideToUtf8(file).value();
    const auto held = Win32DestinationFolder::Hold(destination);
    const auto temporary = held ? held->CreateTemporary(destination) : nullptr;
    ASSERT_TRUE(temporary && temporary->Install() == TemporaryFile::Outcome::kInstalled);
    EXPECT_TRUE(Opens(file, FILE_WRITE_ATTRIBUTES) && Opens(file, GENERIC_WRITE));
    EXPECT_FALSE(DeleteFileW(file.c_str()) || MoveFileW(folder.c_str(), moved.c_str()));
  }
  EXPECT_TRUE(DeleteFileW(file.c_str()) && MoveFileW(folder.c_str(), moved.c_str()) &&
              RemoveDirectoryW(moved.c_str()));
}

}  // namespace
}  // namespace tavrel
