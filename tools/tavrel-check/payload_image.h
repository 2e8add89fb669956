#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// What the checks need to know of a payload file that is a Windows image.
struct ImageFacts {
  std::uint16_t machine;
  bool is_dll;
  bool exports_register;             // DllRegisterServer is among its export names
  std::vector<std::string> imports;  // loaded with it; delay-loaded ones left out
  bool imports_readable;             // a damaged import table: Windows cannot load it
  bool has_version;
};

// Nothing when the file cannot be read or is not a PE image; a damaged table of exports or
// imports reads as empty.
std::optional<ImageFacts> ReadImageFacts(const std::filesystem::path& path);

}  // namespace tavrel
