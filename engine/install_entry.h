#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// The walk reads the keys Copy1, Copy2, ... of this section, and never beyond this number.
constexpr char kEntrySection[] = "BOOT";
constexpr int kLastEntry = 32767;

// The key of entry n: "Copy" followed by n in decimal.
std::string EntryKey(int n);

// One entry of the description, for as long as it is being installed.
struct InstallEntry {
  std::string source_name;
  std::string destination_name;  // the source name when field 2 is empty
  std::string folder;            // field 3 after ExpandFolderMacro
  std::string source_path;
  std::string destination_path;
  bool regist;  // field 4 is exactly "REGIST"
};

// Splits an entry's value into its fields and forms its paths. Paths are joined as they are:
// nothing is normalised, and a folder ending in "\" gives "\\".
InstallEntry ReadInstallEntry(std::string_view value, std::string_view app_path,
                              std::string_view win_dir, std::string_view sys_dir);

}  // namespace tavrel
