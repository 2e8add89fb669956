#include "engine/fields.h"

#include <gtest/gtest.h>

#include "engine/install_entry.h"

namespace tavrel {
namespace {

// An entry's value split by GetField, its folder expanded by ExpandFolderMacro, and the paths
// joined as they are, for the program in C:\P, Windows in C:\W and the system in C:\W\S.
TEST(ReadInstallEntry, SplitsTheValueAtCommasAndReplacesOnlyAnExactLeadingKeyword) {
  const struct {
    const char* value;
    const char* paths;  // source, destination and whether to register, joined by "|"
  } rows[] = {
      {"a.dll,,$SYSTEM,REGIST", R"(C:\P\a.dll|C:\W\S\a.dll|1)"},
      {R"(a.dll,b.ocx,$WIN\sub,REGIST,more)", R"(C:\P\a.dll|C:\W\sub\b.ocx|1)"},
      {"a.dll", R"(C:\P\a.dll|\a.dll|0)"},
      {",b.dll,$WIN", R"(C:\P\|C:\W\b.dll|0)"},
      {" a , b ,$WIN, REGIST", R"(C:\P\ a |C:\W\ b |0)"},
      {"a.dll,,$SYSTEM,regist", R"(C:\P\a.dll|C:\W\S\a.dll|0)"},
      {"a.dll,,$SYSTEM,REGIST ", R"(C:\P\a.dll|C:\W\S\a.dll|0)"},
      {"a.dll,,$SYSTEM32", R"(C:\P\a.dll|C:\W\S32\a.dll|0)"},
      {"a.dll,,$System", R"(C:\P\a.dll|$System\a.dll|0)"},
      {"a.dll,, $WIN", R"(C:\P\a.dll| $WIN\a.dll|0)"},
      {"a.dll,,$WI", R"(C:\P\a.dll|$WI\a.dll|0)"},
      {R"(a.dll,,D:\$WIN\)", R"(C:\P\a.dll|D:\$WIN\\a.dll|0)"},
      {"ﾌｧｲﾙ,名前,$WIN", R"(C:\P\ﾌｧｲﾙ|C:\W\名前|0)"},
  };
  for (const auto& row : rows) {
    const InstallEntry e = ReadInstallEntry(row.value, R"(C:\P)", R"(C:\W)", R"(C:\W\S)");
    EXPECT_EQ(e.source_path + "|" + e.destination_path + "|" + (e.regist ? "1" : "0"), row.paths)
        << row.value;
  }
}

// Any n of 1 or less gives the first field; a text with fewer than n - 1 separators, none.
TEST(GetField, CountsFieldsFromOneAndRunsOutQuietly) {
  const struct {
    std::int16_t n;
    const char* field;
  } rows[] = {{-32768, "X"}, {0, "X"}, {1, "X"}, {2, ""}, {3, "Z"}, {4, ""}, {5, ""}};
  for (const auto& row : rows) EXPECT_EQ(GetField("X,,Z", row.n, ','), row.field) << row.n;
}

}  // namespace
}  // namespace tavrel
