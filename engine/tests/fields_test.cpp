#include "engine/fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavrel {
namespace {

TEST(GetField, TakesTheTextBetweenSeparatorsNMinusOneAndN) {
  // Fields 0 to 5 of each text; n of 1 or less gives the first field.
  const struct {
    const char* text;
    const char* fields[6];
  } rows[] = {{"X,Y,Z", {"X", "X", "Y", "Z", "", ""}},
              {"X", {"X", "X", "", "", "", ""}},
              {"X,Y,", {"X", "X", "Y", "", "", ""}},
              {"X,,Z", {"X", "X", "", "Z", "", ""}},
              {",Y", {"", "", "Y", "", "", ""}},
              {" a , b ", {" a ", " a ", " b ", "", "", ""}},
              {"a,b,c,REGIST,more", {"a", "a", "b", "c", "REGIST", "more"}},
              {"", {"", "", "", "", "", ""}},
              {"ﾌｧｲﾙ,名前", {"ﾌｧｲﾙ", "ﾌｧｲﾙ", "名前", "", "", ""}}};
  for (const auto& row : rows) {
    for (std::int16_t n = 0; n < 6; ++n) {
      EXPECT_EQ(GetField(row.text, n, ','), row.fields[n]) << '"' << row.text << "\" field " << n;
    }
  }
  EXPECT_EQ(GetField("X,Y", INT16_MIN, ','), "X");
  EXPECT_EQ(GetField("X,Y", INT16_MAX, ','), "");
}

TEST(ExpandFolderMacro, ReplacesAnExactLeadingKeywordOnly) {
  const struct {
    const char* folder;
    const char* expanded;
  } rows[] = {{"$WIN", R"(C:\W)"},
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
              {R"(D:\$WIN)", R"(D:\$WIN)"}};
  for (const auto& row : rows) {
    EXPECT_EQ(ExpandFolderMacro(row.folder, R"(C:\W)", R"(C:\W\S)"), row.expanded) << row.folder;
  }
}

}  // namespace
}  // namespace tavrel
