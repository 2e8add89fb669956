// Any bytes split into the lines of an initialization file, and a key looked up.
#include "text/ini_lines.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto text = tavrel::ParseIniFile({reinterpret_cast<const char*>(data), size});
  tavrel::IniIndex(text).Find("BOOT", "Copy1");
  return 0;
}
