#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace tavrel {

// The value that GetPrivateProfileStringA left in a buffer of buffer_bytes bytes, without the
// first byte of a double-byte character of code_page whose second byte the buffer's end cut
// off. A value shorter than the buffer holds was not cut and stays whole.
std::string_view WithoutCutCharacter(std::string_view value, std::size_t buffer_bytes,
                                     UINT code_page);

}  // namespace tavrel
