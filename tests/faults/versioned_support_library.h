#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/tests/fake_platform.h"

namespace tavrel::faults {

// The fake support library, reading each file's version number from its contents as the real one
// reads the version resource: a copied file takes its version along.
class VersionedSupportLibrary : public fake::FakeSupportLibrary {
 public:
  VersionedSupportLibrary(std::vector<std::string>& log, fake::FakeFileSystem& files,
                          const std::map<std::string, std::int32_t>& versions)
      : FakeSupportLibrary(log, files), files_(files), versions_(versions) {}

  // 1 with the comparison when both files carry a version; 0 when either does not.
  std::optional<std::int32_t> CompareVersion(const std::string& source,
                                             const std::string& destination,
                                             std::int32_t& comparison_out) override;

 private:
  std::optional<std::int32_t> VersionOf(const std::string& path) const;

  fake::FakeFileSystem& files_;
  const std::map<std::string, std::int32_t>& versions_;
};

}  // namespace tavrel::faults
