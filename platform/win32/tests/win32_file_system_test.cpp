#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/tests/scratch_folder.h"
#include "platform/win32/text_conversion.h"

namespace tavrel {
namespace {

std::span<const std::byte> Bytes(std::string_view text) { return std::as_bytes(std::span(text)); }

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(path).c_str(), attributes)) << path;
}

class Win32FileSystemTest : public testing::Test {
 protected:
  ScratchFolder folder_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, ExistsOnlyForAnOrdinaryFileAtExactlyThePath) {
  WriteBytes(folder_ / "plain.dll", "x");
  WriteBytes(folder_ / "日本語の名前.dll", "x");
  WriteBytes(folder_ / "readonly.dll", "x");
  SetAttributes(folder_ / "readonly.dll", FILE_ATTRIBUTE_READONLY);
  WriteBytes(folder_ / "hidden.dll", "x");
  SetAttributes(folder_ / "hidden.dll", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(folder_ / "system.dll", "x");
  SetAttributes(folder_ / "system.dll", FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(folder_ / "folder.dll").c_str(), nullptr));

  const struct {
    std::string name;
    bool exists;
  } cases[] = {
      {"plain.dll", true},    {"日本語の名前.dll", true},
      {"readonly.dll", true}, {"PLAIN.DLL", true},
      {"hidden.dll", false},  {"system.dll", false},
      {"folder.dll", false},  {"missing.dll", false},
      {"*.dll", false},       {"plain.dl?", false},
      {"p*", false},          {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files_.Exists(folder_ / c.name), c.exists) << c.name;
  }
}

TEST_F(Win32FileSystemTest, LengthAndLastModifiedOfFilesOnly) {
  const std::string path = folder_ / "長さ.bin";
  WriteBytes(path, std::string(16385, 'a'));
  // 2020-01-01 00:00:00.9999999 UTC: the fraction of a second is dropped, not rounded.
  constexpr std::int64_t kSeconds = 13'222'310'400;
  const std::uint64_t ticks = kSeconds * 10'000'000ull + 9'999'999;
  FILETIME stamp{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  {
    HANDLE handle = CreateFileW(Utf8ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &stamp));
    CloseHandle(handle);
  }
  EXPECT_EQ(files_.Length(path), 16385u);
  EXPECT_EQ(files_.LastModified(path), kSeconds);

  for (const std::string& other : {folder_.path(), folder_ / "missing.bin"}) {
    EXPECT_EQ(files_.Length(other), std::nullopt) << other;
    EXPECT_EQ(files_.LastModified(other), std::nullopt) << other;
  }
}

TEST_F(Win32FileSystemTest, DeleteReportsWhetherAFileWentAway) {
  WriteBytes(folder_ / "old.dll", "x");
  EXPECT_TRUE(files_.Delete(folder_ / "old.dll"));
  EXPECT_FALSE(files_.Exists(folder_ / "old.dll"));
  EXPECT_FALSE(files_.Delete(folder_ / "old.dll"));
  WriteBytes(folder_ / "readonly.dll", "x");
  SetAttributes(folder_ / "readonly.dll", FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(files_.Delete(folder_ / "readonly.dll"));
}

TEST_F(Win32FileSystemTest, ReadsExactCountsAndFailsPastTheEnd) {
  WriteBytes(folder_ / "source.bin", "0123456789");
  auto file = files_.OpenForReading(folder_ / "source.bin");
  ASSERT_NE(file, nullptr);
  std::array<std::byte, 4> buffer{};
  EXPECT_TRUE(file->Read(buffer));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), 4), "0123");
  EXPECT_TRUE(file->Read(buffer));
  EXPECT_FALSE(file->Read(buffer));  // two bytes were left
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());

  EXPECT_EQ(files_.OpenForReading(folder_ / "missing.bin"), nullptr);
  EXPECT_EQ(files_.OpenForReading(folder_.path()), nullptr);
}

TEST_F(Win32FileSystemTest, TemporaryFileIsNewBesideTheDestinationAndReportsItsClose) {
  const std::string destination = folder_ / "宛先.dll";
  auto first = files_.CreateTemporaryBeside(destination);
  auto second = files_.CreateTemporaryBeside(destination);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->path, second->path);
  EXPECT_EQ(first->path.rfind(folder_.path() + "\\", 0), 0u) << first->path;
  EXPECT_EQ(first->path.find('\\', folder_.path().size() + 1), std::string::npos);

  EXPECT_TRUE(first->file->Write(Bytes("new contents")));
  EXPECT_TRUE(first->file->Close());
  EXPECT_FALSE(first->file->Close());
  EXPECT_EQ(ReadBytes(first->path), "new contents");
  EXPECT_TRUE(second->file->Close());
  EXPECT_EQ(files_.Length(second->path), 0u);
}

TEST_F(Win32FileSystemTest, NoTemporaryFileWithoutAWritableFolder) {
  EXPECT_EQ(files_.CreateTemporaryBeside(folder_ / "missing\\宛先.dll"), std::nullopt);
  EXPECT_EQ(files_.CreateTemporaryBeside("宛先.dll"), std::nullopt);
}

TEST_F(Win32FileSystemTest, ReplacePutsTheTemporaryFileInPlace) {
  for (const bool destination_exists : {false, true}) {
    const std::string destination = folder_ / "置換.dll";
    if (destination_exists) WriteBytes(destination, "old");
    auto temporary = files_.CreateTemporaryBeside(destination);
    ASSERT_TRUE(temporary);
    ASSERT_TRUE(temporary->file->Write(Bytes("new")));
    ASSERT_TRUE(temporary->file->Close());

    EXPECT_TRUE(files_.Replace(temporary->path, destination));
    EXPECT_EQ(ReadBytes(destination), "new");
    EXPECT_FALSE(files_.Exists(temporary->path));
    files_.Delete(destination);
  }
}

TEST_F(Win32FileSystemTest, ReplaceLeavesAnUnreplaceableDestinationAsItWas) {
  const std::string readonly = folder_ / "readonly.dll";
  WriteBytes(readonly, "old");
  SetAttributes(readonly, FILE_ATTRIBUTE_READONLY);
  const std::string in_use = folder_ / "in_use.dll";
  WriteBytes(in_use, "old");
  auto open = files_.OpenForReading(in_use);
  ASSERT_NE(open, nullptr);
  const std::string folder = folder_ / "folder.dll";
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(folder).c_str(), nullptr));

  for (const std::string& destination : {readonly, in_use, folder}) {
    auto temporary = files_.CreateTemporaryBeside(destination);
    ASSERT_TRUE(temporary);
    ASSERT_TRUE(temporary->file->Write(Bytes("new")));
    ASSERT_TRUE(temporary->file->Close());

    EXPECT_FALSE(files_.Replace(temporary->path, destination)) << destination;
    EXPECT_EQ(ReadBytes(temporary->path), "new");
    if (destination != folder) {
      EXPECT_EQ(ReadBytes(destination), "old") << destination;
    }
  }
}

}  // namespace
}  // namespace tavrel
