#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

// What the checks need to know of a payload file that is a Windows image.
struct ImageFacts {
  std::uint16_t machine;
  bool is_dll;
  bool exports_register;             // DllRegisterServer is among its export names
  std::vector<std::string> imports;  // loaded with it, in UTF-8; delay-loaded ones left out
  bool imports_readable;             // a damaged import table: Windows cannot load it
  bool has_version;
};

// Nothing when the file cannot be read or is not a PE image; a damaged table of exports or
// imports reads as empty. An image's names are in the ANSI code page, as a description's are:
// ansi_to_utf8 makes them the text that entries are compared with and that reports quote.
std::optional<ImageFacts> ReadImageFacts(
    const std::filesystem::path& path,
    const std::function<std::string(std::string_view)>& ansi_to_utf8);

}  // namespace tavrel
