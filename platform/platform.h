#pragma once

#include "platform/directories.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/support_library.h"
#include "platform/user_interface.h"

namespace tavrel {

// Everything the engine asks of the operating system. Not owned.
struct Platform {
  Directories& directories;
  Profile& profile;
  FileSystem& files;
  UserInterface& ui;
  SupportLibrary& support;
};

}  // namespace tavrel
