#pragma once

#include <string_view>

#include "platform/directories.h"

namespace tavrel {

// The folder of a program file's full path, as ProgramFolder gives it: "C:\Setup\Tavrel.exe"
// gives "C:\Setup", "C:\Tavrel.exe" gives "C:\".
std::optional<std::string> FolderOfProgramFile(std::wstring_view program_file);

class Win32Directories : public Directories {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::optional<std::string> ProgramFolder() override;
  bool ProtectedBySystem(const std::string& path) override;
};

}  // namespace tavrel
