#include "description/setup_description.h"

#include <cstddef>

namespace tavrel {

namespace {

// The lookup buffer, terminator included; a longer value arrives cut to 1023 bytes.
constexpr std::size_t kValueBufferBytes = 1024;

}  // namespace

std::optional<std::string> ReadSetupValue(Profile& profile, const std::string& ini_path,
                                          const std::string& section, const std::string& key) {
  return profile.GetString(section, key, ini_path, kValueBufferBytes);
}

}  // namespace tavrel
