// Our VOLSTRAK.dll as the installer reaches it, loaded and called with ANSI paths (Japanese
// names, in the code page), over fixture DLLs built from our own sources
// (support/volstrak/CMakeLists.txt): what the end-to-end scenarios, which see the library only
// through the files that Tavrel installs, cannot make it do.

#include "support/volstrak/volstrak.h"

#include <gtest/gtest.h>

#include "platform/win32/tests/scratch_folder.h"
#include "volstrak_test_paths.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;

template <typename Function>
Function* Export(const char* name) {
  static const HMODULE library = LoadLibraryW(fs::path(kVolstrakDll).make_preferred().c_str());
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A fixture DLL ("v1" is fixtures/fixture_v1.dll), text that is no DLL ("text"), or no file ("").
std::string Place(const ScratchFolder& folder, const std::string& what, const std::wstring& name) {
  if (what == "text") folder.File(name, "MZ is not enough to make a DLL.");
  if (what != "text" && !what.empty())
    fs::copy_file(fs::path(kFixtureDir) / Wide("fixture_" + what + ".dll"), folder.File(name));
  return WideToAnsi(folder.File(name).wstring()).value();
}

std::string WriteTime(const std::string& ansi_path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(ansi_path.c_str(), GetFileExInfoStandard, &data)) return "absent";
  return std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

TEST(Volstrak, CallsOverFixtureDlls) {
  // `after`: CompareVersion's comparison (99, the caller's own value, when none was made), the
  // server function that RegistDll ran, or the date CopyFileDateTime leaves on the first file.
  const struct {
    const char* call;
    const char* first;
    const char* second;  // RegistDll: the flag
    std::int32_t result;
    std::string after;
  } rows[] = {
      // The file version's last number counts, and the product version does not.
      {"CompareVersion", "v1_0_0_1", "v1", 1, "1"},
      {"CompareVersion", "v1_0_0_1", "v2", 1, "-1"},
      // A DLL of the other architecture cannot be loaded, but its version can be read.
      {"CompareVersion", "other_arch", "v1", 1, "1"},
      {"CompareVersion", "noversion", "v1", 0, "99"},
      {"CompareVersion", "v2", "noversion", 0, "99"},
      {"CompareVersion", "text", "v1", 0, "99"},
      {"CompareVersion", "v2", "", 0, "99"},
      // As regsvr32 does, the server runs in a single-threaded apartment.
      {"RegistDll", "register_ok", "0", 1, "DllUnregisterServer in apartment"},
      {"RegistDll", "no_register", "-1", 0, ""},
      {"RegistDll", "other_arch", "-1", 0, ""},
      {"RegistDll", "text", "-1", 0, ""},
      {"RegistDll", "", "-1", 0, ""},
      {"CopyFileDateTime", "text", "v1", 1, "the second's"},
      {"CopyFileDateTime", "text", "", 0, "its own"},
      {"CopyFileDateTime", "", "v1", 0, "absent"},
  };
  const ScratchFolder folder;
  int number = 0;
  for (const auto& row : rows) {
    const std::string call = row.call;
    // Names of their own each time, so that no earlier load of the same name interferes.
    const std::string first =
        Place(folder, row.first, L"表示" + std::to_wstring(++number) + L".dll");
    const std::string second = Place(folder, call == "RegistDll" ? "" : row.second, L"ソ.dll");
    std::string after;
    if (call == "CompareVersion") {
      std::int32_t comparison = 99;
      EXPECT_EQ(
          Export<decltype(::CompareVersion)>(row.call)(first.c_str(), second.c_str(), &comparison),
          row.result);
      after = std::to_string(comparison);
    } else if (call == "RegistDll") {
      for (const wchar_t* mark : {L"VOLSTRAK_FIXTURE_CALLED", L"VOLSTRAK_FIXTURE_COM"}) {
        SetEnvironmentVariableW(mark, nullptr);
      }
      EXPECT_EQ(Export<decltype(::RegistDll)>(row.call)(first.c_str(), std::stoi(row.second)),
                row.result);
      wchar_t called[64] = L"", com[64] = L"";
      GetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_CALLED", called, 64);
      GetEnvironmentVariableW(L"VOLSTRAK_FIXTURE_COM", com, 64);
      after = Narrow(called) + (*com ? " in " : "") + Narrow(com);
    } else {
      const std::string own = WriteTime(first);
      EXPECT_EQ(Export<decltype(::CopyFileDateTime)>(row.call)(first.c_str(), second.c_str()) != 0,
                row.result != 0);
      after = WriteTime(first);
      if (after != "absent")
        after = after == own ? "its own" : after == WriteTime(second) ? "the second's" : after;
    }
    EXPECT_EQ(after, row.after) << call << " " << row.first << " " << row.second;
    fs::remove(folder.File(L"ソ.dll"));
  }
  EXPECT_EQ(Export<decltype(::RegistDll)>("RegistDll")(nullptr, -1), 0);
}

}  // namespace
}  // namespace tavrel
