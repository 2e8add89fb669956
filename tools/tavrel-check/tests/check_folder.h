#pragma once

#include <filesystem>
#include <string>

#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/check_command.h"

namespace tavrel {

// A program folder of its own for one test, removed afterwards, checked the way the native
// tavrel-check does it.
class CheckFolder {
 public:
  CheckFolder();
  ~CheckFolder();
  CheckFolder(const CheckFolder&) = delete;
  CheckFolder& operator=(const CheckFolder&) = delete;

  void WriteDescription(const std::string& bytes) const { Write("qxSetup.ini", bytes); }
  // relative uses "/" between folders.
  void Write(const std::string& relative, const std::string& bytes) const;

  CheckOutput Check(bool json, Language language = Language::kEnglish);

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  IniFileProfile profile_;
};

}  // namespace tavrel
