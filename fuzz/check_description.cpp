// Any bytes as qxSetup.ini in a folder that tavrel-check reads whole: plan, findings, report.
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/portable/cp932_text.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/check_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrel;
  std::filesystem::create_directory("check");
  std::ofstream("check/qxSetup.ini", std::ios::binary)
      << std::string_view(reinterpret_cast<const char*>(data), size);
  IniFileProfile profile;
  // The JSON report: it escapes what it quotes, where the text report only copies.
  RunCheck({.json = true, .win_dir = {}, .sys_dir = {}, .folder = "check"},
           {profile, R"(C:\Windows)", R"(C:\Windows\system32)", Language::kJapanese, Cp932ToUtf8});
  return 0;
}
