#include "platform/win32/cut_character.h"

namespace tavrel {

namespace {

// Whether the text ends in the first byte of a double-byte character whose second byte was cut
// off. Lead and trail bytes share values, so only a scan from the start can tell.
bool EndsInLoneLeadByte(std::string_view text, UINT code_page) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsDBCSLeadByteEx(code_page, static_cast<BYTE>(text[i]))) {
      ++i;
    } else if (i + 1 == text.size()) {
      return true;
    } else {
      i += 2;
    }
  }
  return false;
}

}  // namespace

std::string_view WithoutCutCharacter(std::string_view value, std::size_t buffer_bytes,
                                     UINT code_page) {
  if (value.size() + 1 == buffer_bytes && EndsInLoneLeadByte(value, code_page)) {
    value.remove_suffix(1);
  }
  return value;
}

}  // namespace tavrel
