#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace tavrel {

// Last-modified time in whole seconds since 1601-01-01 UTC: the resolution of a file's date and
// time as the person sees it.
using FileTime = std::int64_t;

// One open file, read or written sequentially from offset 0. The destructor closes a file that
// is still open and ignores any failure, so only Close() can tell that the bytes reached the disk.
class File {
 public:
  virtual ~File() = default;

  // Reads exactly buffer.size() bytes from the current position; false on an error or when the
  // file ends first.
  virtual bool Read(std::span<std::byte> buffer) = 0;

  // Writes all of data at the current position; false when any of it could not be written.
  virtual bool Write(std::span<const std::byte> data) = 0;

  // Flushes and closes; false when either fails. The file is closed afterwards in any case.
  virtual bool Close() = 0;
};

// A new, empty file open for writing, named by the file system.
struct TemporaryFile {
  std::unique_ptr<File> file;
  std::string path;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when an ordinary file stands at exactly this path: no wildcards are matched, and folders,
  // hidden files and system files do not count.
  virtual bool Exists(const std::string& path) = 0;

  // The file's length in bytes; nothing when it cannot be measured.
  virtual std::optional<std::uint64_t> Length(const std::string& path) = 0;

  // The file's last-modified time; nothing when it cannot be read.
  virtual std::optional<FileTime> LastModified(const std::string& path) = 0;

  // True when the file was deleted.
  virtual bool Delete(const std::string& path) = 0;

  // Opens an existing file for binary reading; null when it cannot be opened.
  virtual std::unique_ptr<File> OpenForReading(const std::string& path) = 0;

  // Creates a new, uniquely named file in the folder of `path` (the text before its last "\"),
  // open for binary writing; nothing when the folder is missing or not writable.
  virtual std::optional<TemporaryFile> CreateTemporaryBeside(const std::string& path) = 0;

  // Puts the closed file `temporary` in the place of `destination`, which may or may not exist,
  // in one step: afterwards `destination` holds either its old contents or the temporary file's.
  // False when the destination cannot be replaced (read-only, in use, a folder); both files are
  // then as they were.
  virtual bool Replace(const std::string& temporary, const std::string& destination) = 0;
};

}  // namespace tavrel
