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

  // The open file's length in bytes and its last-modified time, from the file itself and not
  // from its name, so that they belong to the bytes that are read; nothing when they cannot be
  // read.
  virtual std::optional<std::uint64_t> Length() = 0;
  virtual std::optional<FileTime> LastModified() = 0;

  // Reads exactly buffer.size() bytes from the current position; false on an error or when the
  // file ends first.
  virtual bool Read(std::span<std::byte> buffer) = 0;

  // Writes all of data at the current position; false when any of it could not be written.
  virtual bool Write(std::span<const std::byte> data) = 0;

  // Flushes and closes; false when either fails. The file is closed afterwards in any case.
  virtual bool Close() = 0;
};

// A new file beside a destination, open for writing. Until Install has put it in place it is
// removed when it is closed, and by the system when the process dies, so that no unfinished copy
// is ever left behind. Close() throws it away without a flush.
class TemporaryFile : public File {
 public:
  enum class Outcome {
    kInstalled,    // the destination now holds this file's bytes
    kNotWritten,   // the bytes could not be flushed to the disk or the file closed
    kNotReplaced,  // the destination could not be replaced (read-only, in use, a folder)
  };

  // Flushes and closes the file and puts it in the place of the destination it was made for,
  // which may or may not exist, in one step; a destination that has the hidden or system
  // attribute keeps it. Afterwards the destination holds either its old contents or this file's,
  // and the file is closed and, unless installed, removed. An installed file stays held until
  // this object is destroyed: nobody can rename or delete it meanwhile, so that whatever is done
  // to the destination by name (its date set) is done to it, while others may still open it to
  // read it or set its times.
  virtual Outcome Install() = 0;
};

// The folder of one destination, held from the first look at the destination to the end of its
// copy: neither it nor a folder above it can be renamed or replaced meanwhile, so that the
// destination's path names the same file at every step.
class DestinationFolder {
 public:
  virtual ~DestinationFolder() = default;

  // Creates a new, uniquely named file in the folder, open for binary writing, that Install puts
  // in the destination's place; null when the folder is not writable.
  virtual std::unique_ptr<TemporaryFile> CreateTemporary() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when an ordinary file stands at exactly this path: no wildcards are matched, and folders,
  // hidden files and system files do not count.
  virtual bool Exists(const std::string& path) = 0;

  // True when a file of any attributes stands at exactly this path; folders do not count.
  virtual bool IsFile(const std::string& path) = 0;

  // True when the file can be opened for reading while other programs read, write or delete it,
  // as the profile functions open it.
  virtual bool Readable(const std::string& path) = 0;

  // The file's last-modified time; nothing when it cannot be read.
  virtual std::optional<FileTime> LastModified(const std::string& path) = 0;

  // Opens an existing file for binary reading; nobody can write to it until it is closed. Null
  // when it cannot be opened.
  virtual std::unique_ptr<File> OpenForReading(const std::string& path) = 0;

  // Holds the folder of `destination` (the text before its last "\"). Null when it is missing or
  // not a folder, or when it is reached through a link that others than the administrators could
  // have made (in a folder they can change, or owned by them): nothing is written through it.
  virtual std::unique_ptr<DestinationFolder> HoldFolderOf(const std::string& destination) = 0;

  // True when anybody but the administrators, the system, TrustedInstaller and the user running
  // the installer can change the file or a folder above it, up to the drive's root, or when that
  // cannot be told. Code loaded from such a file could be theirs.
  virtual bool ChangeableByOthers(const std::string& path) = 0;
};

}  // namespace tavrel
