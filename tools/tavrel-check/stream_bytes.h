#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "image/byte_source.h"

namespace tavrel {

// A file read in place through a stream, so that a large payload file is never held whole.
class StreamBytes final : public ByteSource {
 public:
  // Nothing when the file cannot be opened.
  static std::unique_ptr<StreamBytes> Open(const std::filesystem::path& path);

  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, std::span<unsigned char> out) const override;

 private:
  StreamBytes(std::ifstream file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

  mutable std::ifstream file_;
  std::uint64_t size_;
};

}  // namespace tavrel
