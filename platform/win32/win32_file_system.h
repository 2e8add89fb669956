#pragma once

#include "platform/file_system.h"

namespace tavrel {

// The file system through the W functions, so that any name works whatever the ANSI code page.
class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  bool Readable(const std::string& path) override;
  std::optional<FileTime> LastModified(const std::string& path) override;
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::unique_ptr<DestinationFolder> HoldFolderOf(const std::string& destination) override;
  bool ChangeableByOthers(const std::string& path) override;
};

}  // namespace tavrel
