#pragma once

#include <cstdint>
#include <string>

#include "platform/profile.h"

namespace tavrel {

class Win32Profile : public Profile {
 public:
  std::optional<std::string> GetString(const std::string& section, const std::string& key,
                                       const std::string& path, std::size_t buffer_bytes) override;

 private:
  // Whether the file starts with a byte-order mark, so that the lookup reads it as Unicode and may
  // hand characters over as look-alikes. Read again only when the file's size or time changes:
  // the walk asks one file for one key after another.
  bool ReadAsUnicode(const std::string& path);

  struct Mark {
    std::string path;
    std::uint64_t size = 0, written = 0;
    bool unicode = false;
  };
  std::optional<Mark> mark_;
};

}  // namespace tavrel
