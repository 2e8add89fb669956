#pragma once

#include "platform/file_system.h"

namespace tavrel {

// The file system through the W functions, so that any name works whatever the ANSI code page.
class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  std::optional<std::uint64_t> Length(const std::string& path) override;
  std::optional<FileTime> LastModified(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::optional<TemporaryFile> CreateTemporaryBeside(const std::string& path) override;
  bool Replace(const std::string& temporary, const std::string& destination) override;
};

}  // namespace tavrel
