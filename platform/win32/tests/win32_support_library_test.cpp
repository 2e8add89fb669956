#include "platform/win32/win32_support_library.h"

#include <gtest/gtest.h>

#include "platform/win32/tests/scratch_folder.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_directories.h"

namespace tavrel {
namespace {

using Function = SupportLibrary::Function;

// Points the library at one of the probe folders built beside this test.
class ProbeFolder : public Win32Directories {
 public:
  explicit ProbeFolder(std::string name) : name_(std::move(name)) {}
  std::string ProgramFolder() override { return Win32Directories::ProgramFolder() + "\\" + name_; }

 private:
  std::string name_;
};

TEST(Win32SupportLibraryTest, CallsTheLibraryBesideTheProgramWithAnsiPaths) {
  ProbeFolder folder("probe_full");
  Win32SupportLibrary library(folder);
  for (const Function f :
       {Function::kRegistDll, Function::kCompareVersion, Function::kCopyFileDateTime}) {
    EXPECT_TRUE(library.Reachable(f));
  }
  // "C:\日本\a.dll": 3 + 4 + 6 bytes in code page 932.
  EXPECT_EQ(library.RegistDll("C:\\日本\\a.dll", -1), -13);
  EXPECT_EQ(library.RegistDll("ab", 3), 6);

  std::int32_t comparison = 0;
  EXPECT_EQ(library.CompareVersion("ソース", "宛先x", comparison), 5);
  EXPECT_EQ(comparison, 6);

  ScratchFolder scratch;
  const std::string destination = scratch / "宛先.dll";
  EXPECT_TRUE(library.CopyFileDateTime(destination, "元.dll"));
  EXPECT_EQ(ReadBytes(destination), Utf8ToAnsi("元.dll"));
}

TEST(Win32SupportLibraryTest, MissingLibraryOrFunctionIsUnreachable) {
  ProbeFolder missing("no_such_folder");
  Win32SupportLibrary absent(missing);
  std::int32_t comparison = 7;
  EXPECT_FALSE(absent.Reachable(Function::kRegistDll));
  EXPECT_EQ(absent.RegistDll("a", -1), std::nullopt);
  EXPECT_EQ(absent.CompareVersion("a", "b", comparison), std::nullopt);
  EXPECT_FALSE(absent.CopyFileDateTime("a", "b"));
  EXPECT_EQ(comparison, 7);

  ProbeFolder partial_folder("probe_regist_only");
  Win32SupportLibrary partial(partial_folder);
  EXPECT_TRUE(partial.Reachable(Function::kRegistDll));
  EXPECT_FALSE(partial.Reachable(Function::kCompareVersion));
  EXPECT_FALSE(partial.Reachable(Function::kCopyFileDateTime));
  EXPECT_EQ(partial.RegistDll("ab", -1), -2);
  EXPECT_EQ(partial.CompareVersion("a", "b", comparison), std::nullopt);
}

}  // namespace
}  // namespace tavrel
