// Our VOLSTRAK.dll as the installer reaches it: loaded, and called with ANSI paths, over fixture
// DLLs built from our own sources (support/volstrak/CMakeLists.txt).

#include "support/volstrak/volstrak.h"

#include <gtest/gtest.h>

#include "platform/win32/tests/scratch_folder.h"
#include "platform/win32/text_conversion.h"
#include "volstrak_test_paths.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

struct Library {
  explicit Library(const wchar_t* dll)
      : module(LoadLibraryW(fs::path(dll).make_preferred().c_str())) {}
  template <typename Function>
  Function* Get(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  HMODULE module;
};

const Library kProduction(kVolstrakDll);
const auto regist_dll = kProduction.Get<decltype(::RegistDll)>("RegistDll");
const auto compare_version = kProduction.Get<decltype(::CompareVersion)>("CompareVersion");
const auto copy_file_date_time = kProduction.Get<decltype(::CopyFileDateTime)>("CopyFileDateTime");

// A fixture DLL ("v1" is fixtures/fixture_v1.dll), text that is no DLL ("text"), or nothing ("").
fs::path Place(const ScratchFolder& folder, const std::string& what, const std::wstring& name) {
  if (what == "text") return folder.File(name, "MZ is not enough to make a DLL.");
  if (!what.empty())
    fs::copy_file(fs::path(kFixtureDir) / Wide("fixture_" + what + ".dll"), folder.File(name));
  return folder.File(name);
}

std::string Ansi(const fs::path& path) { return WideToAnsi(path.wstring()).value(); }

TEST(Volstrak, CompareVersionByTheFileVersionsOfBothFiles) {
  const struct {
    const char* source;
    const char* destination;
    std::int32_t result, comparison;  // 99: the caller's value stays, nothing was compared
  } cases[] = {
      {"v2", "v1", 1, 1},         {"v1", "v2", 1, -1},        {"v1", "v1", 1, 0},
      {"v1_0_0_1", "v1", 1, 1},   {"v1_0_0_1", "v2", 1, -1},  {"other_arch", "v1", 1, 1},
      {"noversion", "v1", 0, 99}, {"v2", "noversion", 0, 99}, {"text", "v1", 0, 99},
      {"v2", "text", 0, 99},      {"", "v1", 0, 99},          {"v2", "", 0, 99},
  };
  for (const auto& c : cases) {
    const ScratchFolder folder;
    std::int32_t comparison = 99;
    EXPECT_EQ(
        compare_version(Ansi(Place(folder, c.source, L"ソース.dll")).c_str(),
                        Ansi(Place(folder, c.destination, L"表示ソフト.dll")).c_str(), &comparison),
        c.result)
        << c.source << " " << c.destination;
    EXPECT_EQ(comparison, c.comparison) << c.source << " " << c.destination;
  }
}

TEST(Volstrak, RegistDllCallsTheServerAndTellsItsResult) {
  const struct {
    const char* dll;
    std::int32_t flag, result;
    const wchar_t* called;
  } cases[] = {
      {"register_ok", -1, 1, L"DllRegisterServer"},
      {"register_ok", 0, 1, L"DllUnregisterServer"},
      {"register_fail", -1, 0, L"DllRegisterServer"},
      {"no_register", -1, 0, L""},
      {"other_arch", -1, 0, L""},
      {"text", -1, 0, L""},
      {"", -1, 0, L""},
  };
  int number = 0;
  for (const auto& c : cases) {
    const ScratchFolder folder;
    // A name of its own each time, so that no earlier load of the same name interferes.
    const fs::path dll = Place(folder, c.dll, L"能力" + std::to_wstring(++number) + L".dll");
    SetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", nullptr);
    EXPECT_EQ(regist_dll(Ansi(dll).c_str(), c.flag), c.result) << c.dll;
    wchar_t called[64] = L"";
    GetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", called, 64);
    EXPECT_STREQ(called, c.called) << c.dll;
  }
  EXPECT_EQ(regist_dll(nullptr, -1), 0);
}

TEST(Volstrak, CopyFileDateTimeGivesTheDestinationTheSourcesStamps) {
  const ScratchFolder folder;
  const fs::path source = folder.File(L"ソース.dll", "source");
  const fs::path destination = folder.File(L"宛先.dll", "destination");
  fs::last_write_time(source, fs::last_write_time(source) - std::chrono::hours(9000));
  EXPECT_NE(copy_file_date_time(Ansi(destination).c_str(), Ansi(source).c_str()), 0);
  EXPECT_EQ(fs::last_write_time(destination), fs::last_write_time(source));
  EXPECT_EQ(copy_file_date_time(Ansi(destination).c_str(), Ansi(folder.File(L"無")).c_str()), 0);
  EXPECT_EQ(copy_file_date_time(Ansi(folder.File(L"無")).c_str(), Ansi(source).c_str()), 0);
  EXPECT_FALSE(fs::exists(folder.File(L"無")));
}

TEST(Volstrak, OnlyTheLoggingBuildWritesALog) {
  const ScratchFolder folder;
  SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", folder.File(L"calls.log").c_str());
  const std::string v1 = Ansi(Place(folder, "v1", L"v1.dll"));
  std::int32_t comparison = 0;
  EXPECT_EQ(compare_version(v1.c_str(), v1.c_str(), &comparison), 1);
  EXPECT_FALSE(fs::exists(folder.File(L"calls.log")));
  const auto logged = Library(kVolstrakLoggingDll).Get<decltype(::RegistDll)>("RegistDll");
  EXPECT_EQ(logged(v1.c_str(), -1), 1);
  EXPECT_TRUE(fs::exists(folder.File(L"calls.log")));
  SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", nullptr);
}

}  // namespace
}  // namespace tavrel
