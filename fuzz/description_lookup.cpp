// Any bytes as qxSetup.ini, looked up as the installer looks up an entry.
#include <cstdint>
#include <fstream>

#include "description/setup_description.h"
#include "platform/portable/ini_file_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::ofstream("fuzz.ini", std::ios::binary)
      << std::string_view(reinterpret_cast<const char*>(data), size);
  // A new reader each time: its cache knows a file by its size and time, which inputs share.
  tavrel::IniFileProfile profile;
  tavrel::ReadSetupValue(profile, "fuzz.ini", "BOOT", "Copy1");
  return 0;
}
