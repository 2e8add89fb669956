#include "engine/fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavrel {
namespace {

TEST(GetField, TakesTheTextBetweenSeparatorsNMinusOneAndN) {
  // Fields 0 to 5 of each text, joined by "|"; n of 1 or less gives the first field.
  const struct {
    const char* text;
    const char* fields;
  } rows[] = {{"X,Y,Z", "X|X|Y|Z||"},
              {"X,,Z", "X|X||Z||"},
              {",Y", "||Y|||"},
              {" a , b ", " a | a | b |||"},
              {"a,b,c,REGIST,more", "a|a|b|c|REGIST|more"},
              {"ﾌｧｲﾙ,名前", "ﾌｧｲﾙ|ﾌｧｲﾙ|名前|||"}};
  for (const auto& row : rows) {
    std::string fields = GetField(row.text, 0, ',');
    for (std::int16_t n = 1; n < 6; ++n) fields += "|" + GetField(row.text, n, ',');
    EXPECT_EQ(fields, row.fields) << row.text;
  }
  EXPECT_EQ(GetField("X,Y", INT16_MIN, ','), "X");
  EXPECT_EQ(GetField("X,Y", INT16_MAX, ','), "");
}

TEST(ExpandFolderMacro, ReplacesAnExactLeadingKeywordOnly) {
  const struct {
    const char* folder;
    const char* expanded;
  } rows[] = {{R"($WIN\sub)", R"(C:\W\sub)"},
              {"$SYSTEM32", R"(C:\W\S32)"},
              {"$System", "$System"},
              {" $WIN", " $WIN"},
              {"$WI", "$WI"},
              {R"(D:\$WIN)", R"(D:\$WIN)"}};
  for (const auto& row : rows) {
    EXPECT_EQ(ExpandFolderMacro(row.folder, R"(C:\W)", R"(C:\W\S)"), row.expanded) << row.folder;
  }
}

}  // namespace
}  // namespace tavrel
