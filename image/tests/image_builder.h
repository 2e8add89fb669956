#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// What a test image holds; every table lies in one section.
struct ImageSpec {
  std::uint16_t machine = 0x014C;  // i386
  bool pe32_plus = false;
  bool dll = true;
  std::vector<std::string> imports;
  std::vector<std::string> delay_imports;
  std::vector<std::string> exports;
  std::optional<std::uint64_t> version;  // as ReadFixedFileVersion gives it
  std::size_t padding = 0;               // zero bytes after the section
};

// A small PE image, valid as far as our reader looks.
std::string BuildImage(const ImageSpec& spec);

// A spec from words separated by spaces: "x64", "exe", "import=NAME", "delay=NAME",
// "export=NAME", "pad=BYTES", "version=A.B.C.D".
ImageSpec ParseImageSpec(const std::string& words);

}  // namespace tavrel
