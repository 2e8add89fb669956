#include "tools/tavrel-check/check_command.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

struct ArgumentsCase {
  std::vector<std::string> arguments;
  bool valid;
  bool json = false;
  std::string win_dir = "";
  std::string sys_dir = "";
  std::string folder = "";
};

TEST(ParseArguments, TakesTheDocumentedForms) {
  const ArgumentsCase cases[] = {
      {{}, true, false, "", "", "."},
      {{"--json"}, true, true, "", "", "."},
      {{"--windir", "D:\\Win", "--sysdir", "D:\\Win\\sys", "setup"},
       true,
       false,
       "D:\\Win",
       "D:\\Win\\sys",
       "setup"},
      {{"setup", "--json"}, true, true, "", "", "setup"},
      {{"--windir"}, false, false, "", "", ""},
      {{"a", "b"}, false, false, "", "", ""},
      {{"--verbose"}, false, false, "", "", ""},
  };
  for (const ArgumentsCase& c : cases) {
    const std::optional<CheckOptions> options = ParseArguments(c.arguments);
    ASSERT_EQ(options.has_value(), c.valid) << testing::PrintToString(c.arguments);
    if (!options) continue;
    EXPECT_EQ(options->json, c.json);
    EXPECT_EQ(options->win_dir.value_or(""), c.win_dir);
    EXPECT_EQ(options->sys_dir.value_or(""), c.sys_dir);
    EXPECT_EQ(options->folder, c.folder);
  }
}

TEST(FillIn, ReplacesNumberedPlaceholders) {
  EXPECT_EQ(FillIn("{2} after {1}", {"a", "b"}), "b after a");
  EXPECT_EQ(FillIn("{3} {x} {", {"a"}), "{3} {x} {");
}

}  // namespace
}  // namespace tavrel
