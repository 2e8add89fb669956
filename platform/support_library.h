#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavrel {

// The maker's support library, VOLSTRAK.dll. It is looked up when one of its functions is first
// needed, not at start. Paths are handed over in the ANSI code page.
class SupportLibrary {
 public:
  enum class Function { kRegistDll, kCompareVersion, kCopyFileDateTime };

  virtual ~SupportLibrary() = default;

  // Loads the library and looks the function up, once; false when either cannot be found.
  virtual bool Reachable(Function function) = 0;

  // True when the path can be handed to the library exactly: the ANSI code page holds every
  // character of it.
  virtual bool CanPass(const std::string& path) = 0;

  // RegistDll(path, flag): 0 when the registration failed. Nothing when it cannot be reached.
  virtual std::optional<std::int32_t> RegistDll(const std::string& path, std::int32_t flag) = 0;

  // CompareVersion(source, destination, comparison): 1 when the versions were compared, and then
  // `comparison` > 0 when the source's version is higher. Nothing when it cannot be reached.
  virtual std::optional<std::int32_t> CompareVersion(const std::string& source,
                                                     const std::string& destination,
                                                     std::int32_t& comparison) = 0;

  // CopyFileDateTime(destination, source): gives the destination the source's stamps. False only
  // when it cannot be reached; its own result is not examined.
  virtual bool CopyFileDateTime(const std::string& destination, const std::string& source) = 0;
};

}  // namespace tavrel
