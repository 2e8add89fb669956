#pragma once

#include "platform/directories.h"

namespace tavrel {

class Win32Directories : public Directories {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string ProgramFolder() override;
};

}  // namespace tavrel
