#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "volstrak_test_support.h"

namespace tavrel::volstrak {
namespace {

// What the caller's comparison holds before the call; it must stay when nothing was compared.
constexpr std::int32_t kUntouched = 0x5a5a;

TEST(CompareVersionTest, OutcomesBySourceAndDestination) {
  struct Case {
    const char* label;
    const wchar_t* source;
    const wchar_t* destination;
    std::int32_t expected;
    std::int32_t expected_comparison;
  };
  const Case cases[] = {
      {"higher", L"v2", L"v1", 1, 1},
      {"lower", L"v1", L"v2", 1, -1},
      {"equal", L"v1", L"v1", 1, 0},
      {"higher in the last number only", L"v1_0_0_1", L"v1", 1, 1},
      {"the file version, not the product version", L"v1_0_0_1", L"v2", 1, -1},
      {"a DLL of the other architecture", L"other_arch", L"v1", 1, 1},
      {"source without version", L"noversion", L"v1", 0, kUntouched},
      {"destination without version", L"v2", L"noversion", 0, kUntouched},
      {"neither with a version", L"noversion", L"noversion", 0, kUntouched},
      {"source is a text file", kTextFile, L"v1", 0, kUntouched},
      {"destination is a text file", L"v2", kTextFile, 0, kUntouched},
      {"no source", kNoFile, L"v1", 0, kUntouched},
      {"no destination", L"v2", kNoFile, 0, kUntouched},
  };
  ScratchFolder folder;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.label);
    const auto source = Place(test.source, folder.path() / "source.dll");
    const auto destination = Place(test.destination, folder.path() / "destination.dll");
    std::int32_t comparison = kUntouched;
    EXPECT_EQ(
        Production().compare_version(Ansi(source).c_str(), Ansi(destination).c_str(), &comparison),
        test.expected);
    EXPECT_EQ(comparison, test.expected_comparison);
    std::filesystem::remove(source);
    std::filesystem::remove(destination);
  }
}

// The image cut short at `length` bytes, placed at `path`.
std::filesystem::path PlaceCut(const std::string& image, std::size_t length,
                               const std::filesystem::path& path) {
  WriteTextFile(path, image.substr(0, length));
  return path;
}

TEST(CompareVersionTest, DamagedImagesMakeNoComparison) {
  ScratchFolder folder;
  const std::string image = ReadTextFile(Place(L"v2", folder.path() / "whole.dll"));
  constexpr std::wstring_view kKey = L"VS_VERSION_INFO";
  const std::string_view key(reinterpret_cast<const char*>(kKey.data()), kKey.size() * 2);
  const std::size_t key_at = image.find(key);
  ASSERT_NE(key_at, std::string::npos);
  const std::string v1 = Ansi(Place(L"v1", folder.path() / "v1.dll"));
  struct Case {
    const char* label;
    std::size_t length;
  };
  const Case cases[] = {
      {"the DOS header cut", 32},
      {"the PE headers cut", 200},
      {"the section table cut", 400},
      {"the version resource cut in its fixed part", key_at + key.size() + 8},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.label);
    const std::string cut = Ansi(PlaceCut(image, test.length, folder.path() / "cut.dll"));
    std::int32_t comparison = kUntouched;
    EXPECT_EQ(Production().compare_version(cut.c_str(), v1.c_str(), &comparison), 0);
    EXPECT_EQ(Production().compare_version(v1.c_str(), cut.c_str(), &comparison), 0);
    EXPECT_EQ(comparison, kUntouched);
  }
  // The whole image still compares, so the cuts above failed for what was cut.
  const std::string whole = Ansi(PlaceCut(image, image.size(), folder.path() / "copy.dll"));
  std::int32_t comparison = kUntouched;
  EXPECT_EQ(Production().compare_version(whole.c_str(), v1.c_str(), &comparison), 1);
  EXPECT_EQ(comparison, 1);
}

TEST(CompareVersionTest, AFolderMakesNoComparison) {
  ScratchFolder folder;
  const std::filesystem::path directory = folder.path() / "folder.dll";
  std::filesystem::create_directory(directory);
  const std::string v1 = Ansi(Place(L"v1", folder.path() / "v1.dll"));
  std::int32_t comparison = kUntouched;
  EXPECT_EQ(Production().compare_version(Ansi(directory).c_str(), v1.c_str(), &comparison), 0);
  EXPECT_EQ(Production().compare_version(v1.c_str(), Ansi(directory).c_str(), &comparison), 0);
  EXPECT_EQ(comparison, kUntouched);
}

TEST(CompareVersionTest, NullArgumentsMakeNoComparison) {
  ScratchFolder folder;
  const std::string v1 = Ansi(Place(L"v1", folder.path() / "v1.dll"));
  const std::string v2 = Ansi(Place(L"v2", folder.path() / "v2.dll"));
  std::int32_t comparison = kUntouched;
  EXPECT_EQ(Production().compare_version(v2.c_str(), v1.c_str(), nullptr), 0);
  EXPECT_EQ(Production().compare_version(nullptr, v1.c_str(), &comparison), 0);
  EXPECT_EQ(Production().compare_version(v2.c_str(), nullptr, &comparison), 0);
  EXPECT_EQ(Production().compare_version("", v1.c_str(), &comparison), 0);
  EXPECT_EQ(comparison, kUntouched);
}

}  // namespace
}  // namespace tavrel::volstrak
