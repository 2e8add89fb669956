#pragma once

#include "platform/profile.h"

namespace tavrel {

class Win32Profile : public Profile {
 public:
  std::optional<std::string> GetString(const std::string& section, const std::string& key,
                                       const std::string& path, std::size_t buffer_bytes) override;
};

}  // namespace tavrel
