#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tavrel {

// Lookup of one value in an initialization file.
class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringA(section, key, "", buffer, buffer_bytes, path), read up to the first
  // NUL. The value holds at most buffer_bytes - 1 bytes in the ANSI code page and never ends in
  // half of a double-byte character. Empty when the file, the section or the key is missing or
  // cannot be read; the lookup reports nothing itself. Nothing when the lookup cannot be made
  // exactly: a path the ANSI code page cannot hold or that is too long for the function, or a
  // value that cannot be converted back. A value that the ANSI code page cannot hold (a Unicode
  // file) comes back as the file holds it, never as a look-alike.
  virtual std::optional<std::string> GetString(const std::string& section, const std::string& key,
                                               const std::string& path,
                                               std::size_t buffer_bytes) = 0;
};

}  // namespace tavrel
