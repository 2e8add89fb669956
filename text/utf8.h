#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel {

void AppendUtf8(char32_t code_point, std::string& out);

// The length of the well-formed UTF-8 sequence at text[at]; 1 for a byte that starts none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

}  // namespace tavrel
