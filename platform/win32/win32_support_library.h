#pragma once

#include <windows.h>

#include <array>

#include "platform/directories.h"
#include "platform/support_library.h"

namespace tavrel {

// VOLSTRAK.dll from the program's own folder, by its full path, so that no other copy on the
// library search path can stand in for it. Loaded at the first call and kept until the end.
class Win32SupportLibrary : public SupportLibrary {
 public:
  // `directories` gives the program folder at the first call. Not owned.
  explicit Win32SupportLibrary(Directories& directories) : directories_(directories) {}

  bool Reachable(Function function) override;
  std::optional<std::int32_t> RegistDll(const std::string& path, std::int32_t flag) override;
  std::optional<std::int32_t> CompareVersion(const std::string& source,
                                             const std::string& destination,
                                             std::int32_t& comparison) override;
  bool CopyFileDateTime(const std::string& destination, const std::string& source) override;

 private:
  FARPROC Lookup(Function function);

  Directories& directories_;
  bool load_tried_ = false;
  HMODULE module_ = nullptr;
  std::array<bool, 3> lookup_tried_{};
  std::array<FARPROC, 3> functions_{};
};

}  // namespace tavrel
