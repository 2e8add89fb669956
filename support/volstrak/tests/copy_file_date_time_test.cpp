#include <gtest/gtest.h>

#include <iostream>

#include "volstrak_test_support.h"

namespace tavrel::volstrak {
namespace {

struct Stamps {
  FILETIME creation;
  FILETIME last_access;
  FILETIME last_write;
};

bool operator==(const FILETIME& a, const FILETIME& b) {
  return a.dwHighDateTime == b.dwHighDateTime && a.dwLowDateTime == b.dwLowDateTime;
}

FILETIME At(WORD year, WORD month, WORD day, WORD hour) {
  const SYSTEMTIME time{year, month, 0, day, hour, 4, 5, 6};
  FILETIME stamp;
  SystemTimeToFileTime(&time, &stamp);
  return stamp;
}

void SetStamps(const std::filesystem::path& path, const Stamps& stamps) {
  const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, &stamps.creation, &stamps.last_access, &stamps.last_write));
  CloseHandle(file);
}

Stamps ReadStamps(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
  return Stamps{data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime};
}

// Wine keeps no creation time that it is given on Linux file systems (it reports one of its own),
// so the creation stamp is checked only where the file system keeps it, as on Windows.
bool CreationTimeKept() {
  static const bool kept = [] {
    const ScratchFolder folder;
    const std::filesystem::path probe = folder.path() / "probe";
    WriteTextFile(probe, "");
    const FILETIME creation = At(1999, 1, 2, 3);
    SetStamps(probe, Stamps{creation, At(2005, 6, 7, 8), At(2006, 7, 8, 9)});
    const bool probe_kept = ReadStamps(probe).creation == creation;
    if (!probe_kept) std::cout << "Creation times are not kept here; they are not checked.\n";
    return probe_kept;
  }();
  return kept;
}

void ExpectStamps(const std::filesystem::path& path, const Stamps& expected, bool creation_kept) {
  const Stamps stamps = ReadStamps(path);
  if (creation_kept) {
    EXPECT_TRUE(stamps.creation == expected.creation) << "creation";
  }
  EXPECT_TRUE(stamps.last_access == expected.last_access) << "last access";
  EXPECT_TRUE(stamps.last_write == expected.last_write) << "last write";
}

// Three different stamps for each file, so that a stamp put in the wrong place shows.
const Stamps kSourceStamps{At(2001, 2, 3, 1), At(2002, 3, 4, 2), At(2003, 4, 5, 3)};
const Stamps kDestinationStamps{At(2011, 5, 6, 4), At(2012, 6, 7, 5), At(2013, 7, 8, 6)};

class CopyFileDateTimeTest : public ::testing::Test {
 protected:
  CopyFileDateTimeTest() {
    WriteTextFile(source_, "source");
    WriteTextFile(destination_, "destination");
    SetStamps(source_, kSourceStamps);
    SetStamps(destination_, kDestinationStamps);
  }

  std::int32_t CopyStamps() {
    return Production().copy_file_date_time(Ansi(destination_).c_str(), Ansi(source_).c_str());
  }

  ScratchFolder folder_;
  bool creation_kept_ = CreationTimeKept();
  std::filesystem::path source_ = folder_.path() / "source.dll";
  std::filesystem::path destination_ = folder_.path() / "destination.dll";
};

TEST_F(CopyFileDateTimeTest, GivesTheDestinationAllThreeStampsOfTheSource) {
  EXPECT_NE(CopyStamps(), 0);
  ExpectStamps(destination_, kSourceStamps, creation_kept_);
  ExpectStamps(source_, kSourceStamps, creation_kept_);
  EXPECT_EQ(ReadTextFile(destination_), "destination");
}

TEST_F(CopyFileDateTimeTest, MissingSourceFailsAndLeavesTheDestinationAlone) {
  std::filesystem::remove(source_);
  EXPECT_EQ(CopyStamps(), 0);
  ExpectStamps(destination_, kDestinationStamps, creation_kept_);
}

TEST_F(CopyFileDateTimeTest, MissingDestinationFailsAndIsNotCreated) {
  std::filesystem::remove(destination_);
  EXPECT_EQ(CopyStamps(), 0);
  EXPECT_FALSE(std::filesystem::exists(destination_));
}

TEST_F(CopyFileDateTimeTest, NullPathsFail) {
  EXPECT_EQ(Production().copy_file_date_time(nullptr, Ansi(source_).c_str()), 0);
  EXPECT_EQ(Production().copy_file_date_time(Ansi(destination_).c_str(), nullptr), 0);
  ExpectStamps(destination_, kDestinationStamps, creation_kept_);
}

}  // namespace
}  // namespace tavrel::volstrak
