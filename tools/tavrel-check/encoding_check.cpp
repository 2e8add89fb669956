#include "tools/tavrel-check/encoding_check.h"

#include <algorithm>
#include <cstddef>

#include "text/cp932_bytes.h"
#include "text/utf8.h"

namespace tavrel {

namespace {

int LineAt(std::string_view bytes, std::size_t at) {
  return 1 + static_cast<int>(
                 std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// The position of the first byte that does not start or finish a Shift-JIS character, or npos.
// 0x80, 0xA0 and 0xFD-0xFF have no character of their own.
std::size_t FirstNonShiftJis(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) continue;
    if (!IsCp932LeadByte(byte) || at + 1 == bytes.size() ||
        !IsCp932TrailByte(static_cast<unsigned char>(bytes[at + 1]))) {
      return at;
    }
    ++at;
  }
  return std::string_view::npos;
}

// The position of the first multi-byte sequence when every non-ASCII byte belongs to a
// well-formed UTF-8 sequence, else npos. Shift-JIS text almost never passes: its common lead
// bytes 0x81-0x9F cannot start a UTF-8 sequence.
std::size_t FirstUtf8Sequence(std::string_view bytes) {
  std::size_t first = std::string_view::npos;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, at);
    if (length == 1 && static_cast<unsigned char>(bytes[at]) >= 0x80) return std::string_view::npos;
    if (length > 1 && first == std::string_view::npos) first = at;
    at += length;
  }
  return first;
}

}  // namespace

std::optional<EncodingProblem> FindEncodingProblem(std::string_view bytes) {
  using Kind = EncodingProblem::Kind;
  if (bytes.starts_with("\xEF\xBB\xBF")) return EncodingProblem{Kind::kUtf8Mark, 1};
  if (bytes.starts_with("\xFF\xFE")) return EncodingProblem{Kind::kUtf16Mark, 1};
  if (bytes.starts_with("\xFE\xFF")) return EncodingProblem{Kind::kUtf16BigEndianMark, 1};
  if (const std::size_t at = FirstUtf8Sequence(bytes); at != std::string_view::npos) {
    return EncodingProblem{Kind::kUtf8Text, LineAt(bytes, at)};
  }
  if (const std::size_t at = FirstNonShiftJis(bytes); at != std::string_view::npos) {
    return EncodingProblem{Kind::kNotShiftJis, LineAt(bytes, at)};
  }
  return std::nullopt;
}

}  // namespace tavrel
