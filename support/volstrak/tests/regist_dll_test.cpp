#include <gtest/gtest.h>

#include <string>

#include "volstrak_test_support.h"

namespace tavrel::volstrak {
namespace {

// What a fixture DLL recorded in the environment variable `name`; empty when nothing.
std::wstring Recorded(const wchar_t* name) {
  wchar_t value[64] = L"";
  GetEnvironmentVariableW(name, value, std::size(value));
  return value;
}

// The function a fixture DLL ran last; empty when none ran.
std::wstring CalledFunction() { return Recorded(L"VOLSTRAK_FIXTURE_CALLED"); }

std::int32_t Regist(const std::filesystem::path& path, std::int32_t flag) {
  SetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", nullptr);
  return Production().regist_dll(Ansi(path).c_str(), flag);
}

TEST(RegistDllTest, OutcomesByFileAndFlag) {
  struct Case {
    const char* label;
    const wchar_t* file;
    std::int32_t flag;
    std::int32_t expected;
    const wchar_t* expected_call;
  };
  const Case cases[] = {
      {"registration succeeds", L"register_ok", -1, 1, L"DllRegisterServer"},
      {"any non-zero flag registers", L"register_ok", 1, 1, L"DllRegisterServer"},
      {"flag 0 unregisters", L"register_ok", 0, 1, L"DllUnregisterServer"},
      {"a failing HRESULT", L"register_fail", -1, 0, L"DllRegisterServer"},
      {"a failing unregistration", L"register_fail", 0, 0, L"DllUnregisterServer"},
      {"no DllRegisterServer", L"no_register", -1, 0, L""},
      {"no DllUnregisterServer", L"no_register", 0, 0, L""},
      {"the other architecture", L"other_arch", -1, 0, L""},
      {"a text file", kTextFile, -1, 0, L""},
      {"no file", kNoFile, -1, 0, L""},
  };
  ScratchFolder folder;
  int number = 0;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.label);
    // A name of its own for every case, so that no earlier load of the same name interferes.
    const auto path =
        Place(test.file, folder.path() / ("case" + std::to_string(++number) + ".dll"));
    EXPECT_EQ(Regist(path, test.flag), test.expected);
    EXPECT_EQ(CalledFunction(), test.expected_call);
  }
}

TEST(RegistDllTest, RelativePathIsTakenFromTheCurrentFolder) {
  ScratchFolder folder;
  Place(L"register_ok", folder.path() / "relative.dll");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  EXPECT_EQ(Regist("relative.dll", -1), 1);
  std::filesystem::current_path(previous);
  EXPECT_EQ(CalledFunction(), L"DllRegisterServer");
}

TEST(RegistDllTest, ServerRunsUnderOleAndTheThreadIsLeftAsItWas) {
  ScratchFolder folder;
  const auto path = Place(L"register_ok", folder.path() / "ole.dll");

  EXPECT_EQ(Regist(path, -1), 1);
  EXPECT_EQ(Recorded(L"VOLSTRAK_FIXTURE_COM"), L"apartment");
  const HRESULT after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(after, S_OK) << "COM was left initialised";
  if (SUCCEEDED(after)) CoUninitialize();

  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(Regist(path, -1), 1);
  EXPECT_EQ(Recorded(L"VOLSTRAK_FIXTURE_COM"), L"multithreaded");
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the apartment changed";
  CoUninitialize();
  CoUninitialize();
}

TEST(RegistDllTest, NullOrEmptyPathFails) {
  EXPECT_EQ(Production().regist_dll(nullptr, -1), 0);
  EXPECT_EQ(Production().regist_dll("", -1), 0);
}

}  // namespace
}  // namespace tavrel::volstrak
