#include "tests/faults/versioned_support_library.h"

namespace tavrel::faults {

std::optional<std::int32_t> VersionedSupportLibrary::CompareVersion(const std::string& source,
                                                                    const std::string& destination,
                                                                    std::int32_t& comparison_out) {
  // The base logs the call and answers for a library that cannot be reached.
  if (!FakeSupportLibrary::CompareVersion(source, destination, comparison_out)) return std::nullopt;
  const std::optional<std::int32_t> source_version = VersionOf(source);
  const std::optional<std::int32_t> destination_version = VersionOf(destination);
  if (!source_version || !destination_version) return 0;
  comparison_out =
      (*source_version > *destination_version) - (*source_version < *destination_version);
  return 1;
}

std::optional<std::int32_t> VersionedSupportLibrary::VersionOf(const std::string& path) const {
  const std::optional<std::string> contents = files_.Contents(path);
  if (!contents) return std::nullopt;
  const auto version = versions_.find(*contents);
  if (version == versions_.end()) return std::nullopt;
  return version->second;
}

}  // namespace tavrel::faults
