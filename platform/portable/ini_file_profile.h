#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "platform/profile.h"
#include "text/ini_lines.h"

namespace tavrel {

// Our own GetPrivateProfileStringA for builds without Windows: the same matching, trimming,
// quote removal and cutting, with code page 932 as the ANSI code page. The path is a path of the
// host; values come back as UTF-8. A value of a Unicode file that code page 932 cannot hold comes
// back as the file holds it, as Win32Profile gives it.
class IniFileProfile final : public Profile {
 public:
  std::optional<std::string> GetString(const std::string& section, const std::string& key,
                                       const std::string& path, std::size_t buffer_bytes) override;

 private:
  struct Cache {
    Cache(std::string path_in, std::uintmax_t size_in, std::filesystem::file_time_type time_in,
          IniText text_in)
        : path(std::move(path_in)),
          size(size_in),
          time(time_in),
          text(std::move(text_in)),
          index(text) {}

    std::string path;
    std::uintmax_t size;
    std::filesystem::file_time_type time;
    IniText text;
    IniIndex index;
  };
  // The parsed file, read again when its path, size or time changes: the walk asks for one
  // key after another in the same file.
  const Cache* Load(const std::string& path);

  // On the heap, so that the index's pointers into the text stay valid.
  std::unique_ptr<Cache> cache_;
};

}  // namespace tavrel
