// What only the program itself can see of its windows and its file: a move to a monitor of
// another DPI, and the manifest, icon and version information. Looks, keys and behaviour on the
// screen are checked on the running program in tests/e2e.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ui/control_ids.h"
#include "ui/form1.h"

namespace tavrel {
namespace {

TEST(Form1Test, MovingToAMonitorOfAnotherDpiLaysTheFormOutAgain) {
  Form1 form({.ok = [] {}, .cancel = [] {}});
  RECT suggested{40, 30, 500, 260};
  SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  // OK at 720, 960 twips, 1215 by 375: 72, 96, 122 by 38 pixels at 144 DPI.
  RECT ok{};
  GetWindowRect(GetDlgItem(form.window(), kCommand1Id), &ok);
  MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT*>(&ok), 2);
  EXPECT_EQ(ok.left, 72);
  EXPECT_EQ(ok.top, 96);
  EXPECT_EQ(ok.right - ok.left, 122);
  EXPECT_EQ(ok.bottom - ok.top, 38);
}

std::string Resource(HMODULE module, const wchar_t* type) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), type);
  return found ? std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                             SizeofResource(module, found))
               : "";
}

TEST(ProgramFile, ManifestIconAndVersionInformation) {
  const std::filesystem::path exe = std::filesystem::path(TAVREL_EXE).make_preferred();
  HMODULE program = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const std::string manifest = Resource(program, RT_MANIFEST);
  for (const char* part : {"level=\"requireAdministrator\"", "PerMonitorV2, PerMonitor", "true/pm",
                           "Microsoft.Windows.Common-Controls"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
  // Two 16-colour (4-bit) pictures, 32 and 16 pixels wide.
  const std::string icons = Resource(program, RT_GROUP_ICON);
  ASSERT_EQ(icons.size(), 6u + 2 * 14);
  EXPECT_EQ(icons.substr(6, 3) + icons.substr(20, 3), std::string("\x20\x20\x10\x10\x10\x10"));
  EXPECT_EQ(icons[12] + icons[26], 8);
  const std::string version = Resource(program, RT_VERSION);
  for (const wchar_t* part : {L"041104B0", L"ProductName", L"Tavrel", L"1.00", L"Tavrel.exe"}) {
    const std::string bytes(reinterpret_cast<const char*>(part), wcslen(part) * 2);
    EXPECT_NE(version.find(bytes), std::string::npos);
  }
  FreeLibrary(program);
}

}  // namespace
}  // namespace tavrel
