#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/scoped_handle.h"

namespace tavrel {

// A destination's folder, open without sharing deletion: while it is held, neither it nor a folder
// above it can be renamed or replaced, so the destination's path keeps naming the same file.
// Files in it are made and renamed relative to the handle, never through their full path.
class Win32DestinationFolder : public DestinationFolder {
 public:
  // Holds the folder of the full path `destination`; null when it is missing, not a folder, or
  // reached through a link that others could have made (a link in a folder that they can change,
  // or a link that is theirs).
  static std::unique_ptr<Win32DestinationFolder> Hold(const std::wstring& destination);

  std::unique_ptr<TemporaryFile> CreateTemporary() override;

 private:
  Win32DestinationFolder(ScopedHandle folder, std::wstring name)
      : folder_(std::move(folder)), name_(std::move(name)) {}

  ScopedHandle folder_;
  std::wstring name_;  // the destination's name in the folder
};

}  // namespace tavrel
