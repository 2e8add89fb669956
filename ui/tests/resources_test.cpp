// Both programs, 64-bit and 32-bit, carry their manifest, icon and version information.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

const char* const kPrograms[] = {TAVREL_BUILD_DIR "/Tavrel.exe",
                                 TAVREL_OTHER_BUILD_DIR "/Tavrel.exe"};

std::wstring Wide(const char* path) {
  std::wstring wide;
  for (const char* p = path; *p; ++p) wide += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  // The build tree lies on Wine's drive Z:, the Unix root.
  return L"Z:" + wide;
}

class ProgramResources : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(Wide(GetParam()).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << GetParam() << " (build both build/win64 and build/win32)";
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::string Resource(const wchar_t* type, int id) {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(data, SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

TEST_P(ProgramResources, ManifestAsksForAdministratorDpiAwarenessAndThemes) {
  const std::string manifest = Resource(RT_MANIFEST, 1);
  for (const char* part :
       {"level=\"requireAdministrator\"", "PerMonitorV2, PerMonitor", "true/pm",
        "Microsoft.Windows.Common-Controls", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

TEST_P(ProgramResources, IconIsSixteenColoursInBothSizes) {
#pragma pack(push, 2)
  struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const std::string group = Resource(RT_GROUP_ICON, 1);
  ASSERT_EQ(group.size(), 6 + 2 * sizeof(GroupIconEntry));
  std::vector<int> sizes;
  for (int i = 0; i < 2; ++i) {
    GroupIconEntry entry;
    memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    EXPECT_EQ(entry.colours, 16);
    EXPECT_EQ(entry.bits, 4);
    sizes.push_back(entry.width);
  }
  EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

TEST_P(ProgramResources, VersionInformationInAJapaneseBlock) {
  const std::wstring path = Wide(GetParam());
  std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } strings[] = {{L"ProductName", L"Tavrel"},
                 {L"ProductVersion", L"1.00"},
                 {L"FileVersion", L"1.00"},
                 {L"OriginalFilename", L"Tavrel.exe"},
                 {L"InternalName", L"Tavrel.exe"}};
  for (const auto& s : strings) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + s.name;
    ASSERT_TRUE(
        VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        << query;
    EXPECT_STREQ(value, s.value) << query;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, ProgramResources, testing::ValuesIn(kPrograms));

}  // namespace
}  // namespace tavrel
