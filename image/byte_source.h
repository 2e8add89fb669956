#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavrel {

// The bytes of a file that someone else made, read only through bounded reads: nothing is ever
// indexed at an offset that the file itself gives.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  virtual std::uint64_t Size() const = 0;

  // Exactly out.size() bytes from `offset`; false when they do not all lie inside the source or
  // cannot be read.
  virtual bool ReadAt(std::uint64_t offset, std::span<unsigned char> out) const = 0;
};

// Bytes held in memory, which must outlive it.
class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::span<unsigned char> out) const override;

 private:
  std::string_view bytes_;
};

// Little-endian numbers at `offset`; nothing when they run past the end.
std::optional<std::uint16_t> ReadU16(const ByteSource& source, std::uint64_t offset);
std::optional<std::uint32_t> ReadU32(const ByteSource& source, std::uint64_t offset);

}  // namespace tavrel
