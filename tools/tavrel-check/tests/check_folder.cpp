#include "tools/tavrel-check/tests/check_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/portable/cp932_text.h"

namespace tavrel {

CheckFolder::CheckFolder() {
  static int count = 0;
  path_ = std::filesystem::temp_directory_path() /
          ("tavrel-check-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
  std::filesystem::create_directories(path_);
}

CheckFolder::~CheckFolder() { std::filesystem::remove_all(path_); }

void CheckFolder::Write(const std::string& relative, const std::string& bytes) const {
  const std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

CheckOutput CheckFolder::Check(bool json, Language language) {
  CheckOptions options;
  options.json = json;
  options.folder = path_.string();
  return RunCheck(options, CheckHost{
                               .profile = profile_,
                               .win_dir = "C:\\Windows",
                               .sys_dir = "C:\\Windows\\system32",
                               .language = language,
                               .ansi_to_utf8 = Cp932ToUtf8,
                           });
}

}  // namespace tavrel
