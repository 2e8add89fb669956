#include "description/setup_description.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <span>

namespace tavrel {

namespace {

// The lookup buffer, terminator included; a longer value arrives cut to 1023 bytes.
constexpr std::size_t kValueBufferBytes = 1024;

constexpr std::array<std::byte, 3> kUtf8Mark = {std::byte{0xEF}, std::byte{0xBB}, std::byte{0xBF}};
constexpr std::array<std::byte, 2> kUtf16BigEndianMark = {std::byte{0xFE}, std::byte{0xFF}};

}  // namespace

std::optional<std::string> ReadSetupValue(Profile& profile, const std::string& ini_path,
                                          const std::string& section, const std::string& key) {
  return profile.GetString(section, key, ini_path, kValueBufferBytes);
}

bool BeginsWithMarkReadAsText(FileSystem& files, const std::string& ini_path) {
  const std::unique_ptr<File> file = files.OpenForReading(ini_path);
  std::array<std::byte, kUtf8Mark.size()> start{};
  const std::span<std::byte> first = std::span(start).first(kUtf16BigEndianMark.size());
  if (!file || !file->Read(first)) return false;
  if (std::ranges::equal(first, kUtf16BigEndianMark)) return true;
  return file->Read(std::span(start).subspan(first.size())) && start == kUtf8Mark;
}

}  // namespace tavrel
