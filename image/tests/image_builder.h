#pragma once

#include <string>

namespace tavrel {

// A small PE image, valid as far as our reader looks, with every table in one section, from
// words separated by spaces: "x64" (a PE32+ image, else i386), "exe" (else a DLL),
// "import=NAME", "delay=NAME" (a delay-loaded import), "export=NAME", "version=A.B.C.D",
// "pad=BYTES" (zero bytes after the section) and "cut=BYTES" (the file's length).
std::string BuildImage(const std::string& words);

}  // namespace tavrel
