#include "engine/fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavrel {
namespace {

TEST(GetField, TakesTheTextBetweenSeparatorsNMinusOneAndN) {
  const struct {
    const char* text;
    std::int16_t n;
    const char* field;
  } rows[] = {
      {"X,Y,Z", 1, "X"},
      {"X,Y,Z", 2, "Y"},
      {"X,Y,Z", 3, "Z"},
      {"X,Y,Z", 4, ""},
      {"X", 1, "X"},
      {"X", 2, ""},
      {"X", 4, ""},
      {"X,Y,", 2, "Y"},
      {"X,Y,", 3, ""},  // a separator right after Y
      {"X,,Z", 2, ""},
      {",Y", 1, ""},  // adjacent separators
      {"X,Y", 0, "X"},
      {"X,Y", INT16_MIN, "X"},  // n of 1 or less: the first field
      {" a , b ", 2, " b "},    // nothing is trimmed
      {"a,b,c,REGIST,more", 4, "REGIST"},
      {"a,b,c,REGIST,more", 5, "more"},
      {"", 1, ""},
      {"X,Y", INT16_MAX, ""},
      {"ﾌｧｲﾙ,名前", 2, "名前"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(GetField(row.text, row.n, ','), row.field) << '"' << row.text << "\" field " << row.n;
  }
}

TEST(ExpandFolderMacro, ReplacesAnExactLeadingKeywordOnly) {
  const struct {
    const char* folder;
    const char* expanded;
  } rows[] = {
      {"$WIN", R"(C:\W)"},
      {R"($WIN\sub)", R"(C:\W\sub)"},
      {"$WINxyz", R"(C:\Wxyz)"},
      {"$SYSTEM", R"(C:\W\S)"},
      {R"($SYSTEM\drivers)", R"(C:\W\S\drivers)"},
      {"$SYSTEM32", R"(C:\W\S32)"},
      {"$win", "$win"},
      {"$System", "$System"},
      {" $WIN", " $WIN"},
      {"$WI", "$WI"},
      {"", ""},
      {R"(D:\$WIN)", R"(D:\$WIN)"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ExpandFolderMacro(row.folder, R"(C:\W)", R"(C:\W\S)"), row.expanded) << row.folder;
  }
}

}  // namespace
}  // namespace tavrel
