#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/byte_source.h"
#include "support/volstrak/handles.h"

namespace tavrel::volstrak {

// A file read in place with plain reads: nothing is mapped or loaded, so an image of any
// architecture can be read, and a file costs one open under Wine instead of a mapping. The last
// block read is kept: the reader's many small reads of headers and tables lie close together.
class FileBytes final : public ByteSource {
 public:
  // Nothing when the file cannot be opened for reading or its size cannot be had.
  static std::optional<FileBytes> Open(const std::wstring& path);

  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, std::span<unsigned char> out) const override;

 private:
  FileBytes(UniqueHandle handle, std::uint64_t size) : handle_(std::move(handle)), size_(size) {}

  bool ReadFromFile(std::uint64_t offset, std::span<unsigned char> out) const;

  static constexpr std::uint64_t kBlockBytes = 4096;
  UniqueHandle handle_;
  std::uint64_t size_;
  mutable std::vector<unsigned char> block_;
  mutable std::uint64_t block_start_ = 0;
};

}  // namespace tavrel::volstrak
