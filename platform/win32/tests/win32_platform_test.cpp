// What the Windows layer decides by itself and no end-to-end scenario reaches: the folder of a
// program at a drive's root, and the conversion flags that Windows accepts for each
// code page (Wine accepts them all, so no run shows them).

#include <gtest/gtest.h>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_directories.h"

namespace tavrel {
namespace {

// A folder's path ends without a separator everywhere else, as every scenario's does.
TEST(Win32Platform, FolderOfProgramFileKeepsTheSeparatorAtADriveRoot) {
  EXPECT_EQ(FolderOfProgramFile(L"D:\\Tavrel.exe"), "D:\\");
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

}  // namespace
}  // namespace tavrel
