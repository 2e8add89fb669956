#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/portable/ini_lines.h"
#include "platform/profile.h"

namespace tavrel {

// Our own GetPrivateProfileStringA for builds without Windows: the same matching, trimming,
// quote removal and cutting, with code page 932 as the ANSI code page. The path is a path of the
// host; values come back as UTF-8.
class IniFileProfile final : public Profile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& path, std::size_t buffer_bytes) override;

 private:
  // The parsed file, read again when its path, size or time changes: the walk asks for one
  // key after another in the same file.
  const IniText* Load(const std::string& path);

  struct Cache {
    std::string path;
    std::uintmax_t size;
    std::filesystem::file_time_type time;
    IniText text;
  };
  std::optional<Cache> cache_;
};

}  // namespace tavrel
