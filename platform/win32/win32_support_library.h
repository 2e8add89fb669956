#pragma once

#include <windows.h>

#include <array>

#include "platform/directories.h"
#include "platform/support_library.h"

namespace tavrel {

// VOLSTRAK.dll, looked for where Windows would find it but never in the current folder or along
// PATH. Loaded at the first call and kept until the end.
class Win32SupportLibrary : public SupportLibrary {
 public:
  // `directories` gives the folders to look in at the first call. Not owned.
  explicit Win32SupportLibrary(Directories& directories) : directories_(directories) {}

  bool Reachable(Function function) override;
  bool CanPass(const std::string& path) override;
  std::optional<std::int32_t> RegistDll(const std::string& path, std::int32_t flag) override;
  std::optional<std::int32_t> CompareVersion(const std::string& source,
                                             const std::string& destination,
                                             std::int32_t& comparison) override;
  bool CopyFileDateTime(const std::string& destination, const std::string& source) override;

 private:
  HMODULE Load();
  FARPROC Lookup(Function function);

  Directories& directories_;
  bool load_tried_ = false;
  HMODULE module_ = nullptr;
  std::array<bool, 3> lookup_tried_{};
  std::array<FARPROC, 3> functions_{};
};

}  // namespace tavrel
