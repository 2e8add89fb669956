#pragma once

#include <optional>
#include <string_view>

namespace tavrel {

// A sign that the description was not saved in code page 932 (Shift-JIS), the only encoding
// besides UTF-16 that the lookup reads as the author meant.
struct EncodingProblem {
  enum class Kind {
    kUtf8Mark,   // the first line starts with the UTF-8 byte-order mark
    kUtf16Mark,  // UTF-16 little-endian: read as Unicode, but its names reach the installer through
                 // the ANSI code page
    kUtf8Text,   // non-ASCII text that is well-formed UTF-8
    kNotShiftJis,        // bytes that do not form Shift-JIS characters
    kUtf16BigEndianMark  // UTF-16 big-endian, which Windows reads as ANSI bytes: nothing is found
  };
  Kind kind;
  int line;  // of the first such text, counted from 1
};

// Nothing when the file is ASCII or well-formed Shift-JIS that is not also UTF-8.
std::optional<EncodingProblem> FindEncodingProblem(std::string_view bytes);

}  // namespace tavrel
