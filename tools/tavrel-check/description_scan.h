#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/ini_lines.h"

namespace tavrel {

// The keys of the description as the file holds them, beyond what single lookups show.
struct ScannedKey {
  std::string name;  // as written, in UTF-8
  int line;
  std::optional<int> entry;  // n when the name is one the walk asks for ("Copy" and n)
};

struct DescriptionScan {
  bool has_boot_section = false;
  // Of the first BOOT section, in file order; comment lines (";" or "#") left out.
  std::vector<ScannedKey> boot_keys;
  // Keys of further BOOT sections: the lookup searches the first one only.
  std::vector<ScannedKey> shadowed_keys;
};

// Names of a file in code page 932 reach UTF-8 through ansi_to_utf8.
DescriptionScan ScanDescription(const IniText& text,
                                const std::function<std::string(std::string_view)>& ansi_to_utf8);

// n when the key name is "Copy" followed by n in decimal, 1 to 32767, without leading zeros,
// ignoring letter case as the lookup does.
std::optional<int> EntryNumber(std::string_view key_name);

}  // namespace tavrel
