#include "engine/install_entry.h"

#include "engine/fields.h"

namespace tavrel {

namespace {

constexpr char kSeparator = ',';

}  // namespace

std::string EntryKey(int n) { return "Copy" + std::to_string(n); }

InstallEntry ReadInstallEntry(std::string_view value, std::string_view app_path,
                              std::string_view win_dir, std::string_view sys_dir) {
  InstallEntry entry;
  entry.source_name = GetField(value, 1, kSeparator);
  entry.destination_name = GetField(value, 2, kSeparator);
  if (entry.destination_name.empty()) entry.destination_name = entry.source_name;
  entry.folder = ExpandFolderMacro(GetField(value, 3, kSeparator), win_dir, sys_dir);
  entry.source_path = std::string(app_path) + "\\" + entry.source_name;
  entry.destination_path = entry.folder + "\\" + entry.destination_name;
  entry.regist = GetField(value, 4, kSeparator) == "REGIST";
  return entry;
}

}  // namespace tavrel
