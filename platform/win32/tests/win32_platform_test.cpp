// What the Windows layer decides by itself and no end-to-end scenario reaches: the folder of a
// program at a drive's root or on a drive that the elevated session lacks, a value cut inside a
// double-byte character (Wine's lookup never cuts one), the conversion flags that Windows accepts
// for each code page (Wine accepts them all, so no run shows them), how a DLL is loaded where
// Windows refuses the search flags (Vista, 7 without KB2533623; Wine takes them), and where file
// protection is asked for (Wine protects nothing).

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/win32/cut_character.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/program_file.h"
#include "platform/win32/system_file_protection.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_directories.h"

namespace tavrel {
namespace {

// The program's folder, which ends without a separator except at a drive's root, as every
// scenario's does; on a drive that the elevated session lacks (the person mapped it, and mappings
// belong to a logon session) it is reached through the share in the image's native path.
TEST(Win32Platform, ProgramFolderKeepsADriveRootAndReachesAMappedDriveThroughItsShare) {
  constexpr wchar_t kZ[] = L"\\Device\\Mup\\;LanmanRedirector\\;Z:000000000001a2b3\\s\\h\\T.exe";
  // As started, its drive's type, the image's native path; the folder.
  const std::tuple<const wchar_t*, UINT, const wchar_t*, const char*> cases[] = {
      {L"D:\\T.exe", DRIVE_FIXED, L"\\Device\\HarddiskVolume2\\T.exe", "D:\\"},
      {L"Z:\\T.exe", DRIVE_NO_ROOT_DIR, kZ, R"(\\s\h)"},
      {L"z:\\T.exe", DRIVE_NO_ROOT_DIR, kZ, R"(\\s\h)"},
      // A drive that the session has, a start from the share, another drive's mapping, or no
      // share: the folder as started.
      {L"Z:\\set\\T.exe", DRIVE_REMOTE, kZ, R"(Z:\set)"},
      {L"\\\\s\\h\\T.exe", DRIVE_NO_ROOT_DIR, L"\\Device\\Mup\\s\\h\\T.exe", R"(\\s\h)"},
      {L"Y:\\set\\T.exe", DRIVE_NO_ROOT_DIR, kZ, R"(Y:\set)"},
      {L"Z:\\T.exe", DRIVE_NO_ROOT_DIR, L"\\Device\\Mup\\;Z:0\\s\\", "Z:\\"},
  };
  for (const auto& [started_as, drive_type, native, folder] : cases) {
    EXPECT_EQ(FolderOfProgramFile(ReachableProgramFile(started_as, drive_type, native)), folder);
  }
}

// Code page 932's lead bytes run 0x81-0x9F and 0xE0-0xFC; a pair's second byte may look like one.
TEST(Win32Platform, AValueCutInsideADoubleByteCharacterLosesItsFirstByte) {
  // A value that fills its buffer, and how many of its bytes are kept under code page 932.
  const std::pair<std::string_view, std::size_t> cases[] = {
      {"", 0},      {"a\x81", 1}, {"a\x9F", 1}, {"a\xE0", 1},    {"a\xFC", 1},       {"a\x80", 2},
      {"a\xA0", 2}, {"a\xDF", 2}, {"a\xFD", 2}, {"\x83\x83", 2}, {"\x83\x65\x83", 2}};
  for (const auto& [value, kept] : cases) {
    EXPECT_EQ(WithoutCutCharacter(value, value.size() + 1, 932), value.substr(0, kept)) << value;
  }
  EXPECT_EQ(WithoutCutCharacter("a\x83", 4, 932), "a\x83");  // shorter than its buffer: not cut
  EXPECT_EQ(WithoutCutCharacter("a\x83", 3, 1252), "a\x83");
}

TEST(Win32Platform, ConversionFlagsAreOnlyThoseWindowsTakesForTheCodePage) {
  // Windows fails WC_NO_BEST_FIT_CHARS for UTF-8 (ERROR_INVALID_FLAGS), lpUsedDefaultChar for
  // UTF-8 and UTF-7 (ERROR_INVALID_PARAMETER), and any flag for ISO-2022 and UTF-7.
  const struct {
    UINT code_page;
    DWORD narrowing;
    bool reports_default_char;
    DWORD widening;
  } cases[] = {
      {932, WC_NO_BEST_FIT_CHARS, true, MB_ERR_INVALID_CHARS},
      {1252, WC_NO_BEST_FIT_CHARS, true, MB_ERR_INVALID_CHARS},
      {CP_UTF8, WC_ERR_INVALID_CHARS, false, MB_ERR_INVALID_CHARS},
      {54936, WC_ERR_INVALID_CHARS, true, MB_ERR_INVALID_CHARS},
      {50220, 0, true, 0},
      {CP_UTF7, 0, false, 0},
  };
  for (const auto& c : cases) {
    const NarrowingFlags flags = NarrowingFlagsFor(c.code_page);
    EXPECT_EQ(flags.flags, c.narrowing) << c.code_page;
    EXPECT_EQ(flags.reports_default_char, c.reports_default_char) << c.code_page;
    EXPECT_EQ(WideningFlagsFor(c.code_page), c.widening) << c.code_page;
  }
}

TEST(Win32Platform, OnlyRefusedSearchFlagsAreTriedAgainWithTheAlteredSearch) {
  constexpr DWORD kSearch = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
  constexpr DWORD kAltered = LOAD_WITH_ALTERED_SEARCH_PATH;
  constexpr wchar_t kPath[] = L"C:\\Setup\\a.dll";
  // What each load in turn answers (0: the module), the flags they were asked for, the outcome.
  const struct {
    std::vector<DWORD> answers;
    std::vector<DWORD> flags;
    bool loaded;
  } cases[] = {
      {{0}, {kSearch}, true},
      {{ERROR_INVALID_PARAMETER, 0}, {kSearch, kAltered}, true},
      {{ERROR_INVALID_PARAMETER, ERROR_MOD_NOT_FOUND}, {kSearch, kAltered}, false},
      // A missing dependency, or no DLL for this process, is never looked for more widely.
      {{ERROR_MOD_NOT_FOUND}, {kSearch}, false},
      {{ERROR_BAD_EXE_FORMAT}, {kSearch}, false},
  };
  for (const auto& c : cases) {
    std::vector<DWORD> flags;
    const HMODULE module =
        LoadLibrarySearchingItsFolder(kPath, [&](const wchar_t* path, DWORD asked) -> HMODULE {
          EXPECT_STREQ(path, kPath);
          const DWORD answer = c.answers.at(flags.size());
          flags.push_back(asked);
          SetLastError(answer);
          return answer == 0 ? GetModuleHandleW(nullptr) : nullptr;
        });
    EXPECT_EQ(flags, c.flags) << c.answers[0];
    EXPECT_EQ(module != nullptr, c.loaded) << c.answers[0];
  }
}

// Only the system directory's sfc.dll is asked which files Windows keeps for itself.
TEST(Win32Platform, FileProtectionIsAskedOfTheSystemDirectoryAlone) {
  wchar_t dir[MAX_PATH];
  const std::wstring sfc = std::wstring(dir, GetSystemDirectoryW(dir, MAX_PATH)) + L"\\sfc.dll";
  std::vector<std::wstring> asked;
  const auto is_protected = LookUpSfcIsFileProtected([&](const wchar_t* path, DWORD flags) {
    asked.emplace_back(path);
    return LoadLibraryWithFlags(path, flags);
  });
  EXPECT_EQ(asked, std::vector<std::wstring>{sfc});
  EXPECT_TRUE(is_protected && !is_protected(nullptr, L"C:\\none.dll"));
}

}  // namespace
}  // namespace tavrel
