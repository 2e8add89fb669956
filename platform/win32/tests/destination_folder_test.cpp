// A destination's folder is held for the copy, and the file put in place stays held until the
// support library has set its date: neither can be renamed or deleted meanwhile, while the file
// can still be opened as a library would, to set its times.

#include "platform/win32/win32_destination_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tavrel {
namespace {

TEST(Win32DestinationFolder, HoldsTheFolderAndTheInstalledFileUntilReleased) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = temp + std::wstring(L"tavrel-held-") +
                              std::to_wstring(GetCurrentProcessId()), moved = folder + L"-moved";
  const std::wstring destination = folder + L"\\a.dll";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const auto opens = [&](DWORD access) {
    const HANDLE file = CreateFileW(destination.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
  };
  const struct {
    const char* what;
    std::function<bool()> done;
    bool while_held;
  } cases[] = {
      {"times set as our library does", [&] { return opens(FILE_WRITE_ATTRIBUTES); }, true},
      {"times set through a writable handle", [&] { return opens(GENERIC_WRITE); }, true},
      {"file deleted", [&] { return DeleteFileW(destination.c_str()) != FALSE; }, false},
      {"folder renamed", [&] { return MoveFileW(folder.c_str(), moved.c_str()) != FALSE; }, false},
  };
  {
    const auto held = Win32DestinationFolder::Hold(destination);
    ASSERT_TRUE(held);
    const auto temporary = held->CreateTemporary();
    ASSERT_TRUE(temporary);
    const std::byte bytes[] = {std::byte{'n'}, std::byte{'e'}, std::byte{'w'}};
    ASSERT_TRUE(temporary->Write(bytes));
    ASSERT_EQ(temporary->Install(), TemporaryFile::Outcome::kInstalled);
    for (const auto& c : cases) EXPECT_EQ(c.done(), c.while_held) << c.what;
  }
  EXPECT_TRUE(DeleteFileW(destination.c_str()));
  EXPECT_TRUE(MoveFileW(folder.c_str(), moved.c_str()));
  EXPECT_TRUE(RemoveDirectoryW(moved.c_str()));
}

}  // namespace
}  // namespace tavrel
