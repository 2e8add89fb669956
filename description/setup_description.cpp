#include "description/setup_description.h"

#include <array>
#include <cstddef>
#include <memory>
#include <span>

namespace tavrel {

namespace {

// The lookup buffer, terminator included; a longer value arrives cut to 1023 bytes.
constexpr std::size_t kValueBufferBytes = 1024;

constexpr std::array<std::byte, 3> kUtf8Mark = {std::byte{0xEF}, std::byte{0xBB}, std::byte{0xBF}};

}  // namespace

std::optional<std::string> ReadSetupValue(Profile& profile, const std::string& ini_path,
                                          const std::string& section, const std::string& key) {
  return profile.GetString(section, key, ini_path, kValueBufferBytes);
}

bool BeginsWithUtf8Mark(FileSystem& files, const std::string& ini_path) {
  const std::unique_ptr<File> file = files.OpenForReading(ini_path);
  std::array<std::byte, kUtf8Mark.size()> start{};
  return file && file->Read(start) && start == kUtf8Mark;
}

}  // namespace tavrel
