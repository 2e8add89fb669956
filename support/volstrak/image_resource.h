#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::volstrak {

// The first `most_bytes` bytes (fewer when the resource is shorter) of the resource of numeric
// `type` and `name` in the PE image file at `path`, in its language-neutral form where it has
// one and otherwise its first language. Read with plain file reads: nothing is mapped or loaded,
// so an image of any architecture can be read. Nothing when the file cannot be opened, is not a
// PE image, or lacks the resource.
std::optional<std::vector<unsigned char>> ReadImageResource(const std::wstring& path, WORD type,
                                                            WORD name, std::size_t most_bytes);

}  // namespace tavrel::volstrak
