#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel {

// Code page 932 (Shift-JIS as Windows has it) at the byte level; no character tables needed.

// True for a byte that starts a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char byte);

// True for a byte that can follow a lead byte: 0x40-0x7E and 0x80-0xFC.
bool IsCp932TrailByte(unsigned char byte);

// The length of the character that starts at bytes[at]: 2 for a lead byte with a byte after it,
// else 1. A lead byte takes whatever byte follows, as the Windows conversion does.
std::size_t Cp932CharLength(std::string_view bytes, std::size_t at);

// The longest prefix of at most max_bytes bytes that does not end inside a double-byte character.
std::string_view CutCp932(std::string_view bytes, std::size_t max_bytes);

}  // namespace tavrel
