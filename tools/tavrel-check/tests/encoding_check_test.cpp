#include "tools/tavrel-check/encoding_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavrel {
namespace {

using Kind = EncodingProblem::Kind;

struct EncodingCase {
  std::string bytes;
  std::optional<Kind> kind;
  int line;
};

TEST(FindEncodingProblem, TellsFilesThatWereNotSavedAsShiftJis) {
  const EncodingCase cases[] = {
      {"", std::nullopt, 0},
      {"[BOOT]\r\nCopy1=a.dll\r\n", std::nullopt, 0},
      {"Copy1=\x83\x65\x83\x58\x83\x67\x81\x7E\x81\xFC\r\n", std::nullopt, 0},  // テスト×◯
      {"Copy1=\xA1\xB1\xDF.dll\r\n", std::nullopt, 0},  // half-width katakana
      {"\xEF\xBB\xBF[BOOT]\r\n", Kind::kUtf8Mark, 1},
      {"\xFF\xFE[\0", Kind::kUtf16Mark, 1},
      {"\xFE\xFF\0[", Kind::kUtf16Mark, 1},
      // "テスト" in UTF-8 happens to be well-formed Shift-JIS as well.
      {"[BOOT]\r\n\r\nCopy1=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.dll\r\n", Kind::kUtf8Text, 3},
      {"[BOOT]\r\nCopy1=caf\xC3\xA9\r\n", Kind::kUtf8Text, 2},
      {"\xF4\x8F\xBF\xBF", Kind::kUtf8Text, 1},  // the last code point
      {"[BOOT]\r\nCopy1=a\x80\r\n", Kind::kNotShiftJis, 2},
      {"a\n\x82 b", Kind::kNotShiftJis, 2},  // a lead byte without its second byte
      {"a\n\x82", Kind::kNotShiftJis, 2},
      {"\x83\x65\n\xFD", Kind::kNotShiftJis, 2},
  };
  for (const EncodingCase& c : cases) {
    const std::optional<EncodingProblem> problem = FindEncodingProblem(c.bytes);
    ASSERT_EQ(problem.has_value(), c.kind.has_value()) << c.bytes;
    if (!problem) continue;
    EXPECT_EQ(problem->kind, *c.kind) << c.bytes;
    EXPECT_EQ(problem->line, c.line) << c.bytes;
  }
}

}  // namespace
}  // namespace tavrel
