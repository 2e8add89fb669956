#include "engine/fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace tavrel {
namespace {

struct FieldCase {
  std::string text;
  std::int16_t n;
  std::string field;
};

void PrintTo(const FieldCase& c, std::ostream* out) { *out << '"' << c.text << "\" field " << c.n; }

class GetFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldTest, TakesTheTextBetweenSeparatorsNMinusOneAndN) {
  const FieldCase& c = GetParam();
  EXPECT_EQ(GetField(c.text, c.n, ','), c.field) << "text \"" << c.text << "\", n " << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, GetFieldTest,
    testing::Values(
        // X,Y,Z
        FieldCase{"X,Y,Z", 1, "X"}, FieldCase{"X,Y,Z", 2, "Y"}, FieldCase{"X,Y,Z", 3, "Z"},
        FieldCase{"X,Y,Z", 4, ""},
        // X alone
        FieldCase{"X", 1, "X"}, FieldCase{"X", 2, ""}, FieldCase{"X", 3, ""}, FieldCase{"X", 4, ""},
        // a trailing separator after Y
        FieldCase{"X,Y,", 2, "Y"}, FieldCase{"X,Y,", 3, ""}, FieldCase{"X,Y,", 4, ""},
        // adjacent separators
        FieldCase{"X,,Z", 2, ""}, FieldCase{"X,,Z", 3, "Z"}, FieldCase{",Y", 1, ""},
        // n of 1 or less is the first field
        FieldCase{"X,Y", 0, "X"}, FieldCase{"X,Y", -5, "X"}, FieldCase{"X,Y", INT16_MIN, "X"},
        // nothing is trimmed, and text after a fourth separator stays in field 4 only
        FieldCase{" a.dll , b ", 1, " a.dll "}, FieldCase{" a.dll , b ", 2, " b "},
        FieldCase{"a,b,c,REGIST,more", 4, "REGIST"}, FieldCase{"a,b,c,REGIST,more", 5, "more"},
        FieldCase{"", 1, ""}, FieldCase{"", 2, ""}, FieldCase{"X,Y", INT16_MAX, ""},
        // multi-byte text is split at the byte ','
        FieldCase{"ﾌｧｲﾙ.dll,名前.dll", 2, "名前.dll"}));

struct MacroCase {
  std::string folder;
  std::string expanded;
};

void PrintTo(const MacroCase& c, std::ostream* out) { *out << '"' << c.folder << '"'; }

class ExpandFolderMacroTest : public testing::TestWithParam<MacroCase> {};

TEST_P(ExpandFolderMacroTest, ReplacesAnExactLeadingKeywordOnly) {
  const MacroCase& c = GetParam();
  EXPECT_EQ(ExpandFolderMacro(c.folder, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32"), c.expanded)
      << "folder \"" << c.folder << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ExpandFolderMacroTest,
    testing::Values(MacroCase{"$WIN", "C:\\WINDOWS"}, MacroCase{"$WIN\\sub", "C:\\WINDOWS\\sub"},
                    MacroCase{"$WINxyz", "C:\\WINDOWSxyz"},
                    MacroCase{"$SYSTEM", "C:\\WINDOWS\\SYSTEM32"},
                    MacroCase{"$SYSTEM32", "C:\\WINDOWS\\SYSTEM3232"},
                    MacroCase{"$SYSTEM\\drivers", "C:\\WINDOWS\\SYSTEM32\\drivers"},
                    MacroCase{"$win", "$win"}, MacroCase{"$System", "$System"},
                    MacroCase{" $WIN", " $WIN"}, MacroCase{"$WI", "$WI"}, MacroCase{"$SYS", "$SYS"},
                    MacroCase{"", ""}, MacroCase{"D:\\Apps\\$WIN", "D:\\Apps\\$WIN"}));

}  // namespace
}  // namespace tavrel
