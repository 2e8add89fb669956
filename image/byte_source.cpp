#include "image/byte_source.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace tavrel {

namespace {

template <std::size_t kBytes>
std::optional<std::uint64_t> ReadLittleEndian(const ByteSource& source, std::uint64_t offset) {
  std::array<unsigned char, kBytes> bytes{};
  if (!source.ReadAt(offset, bytes)) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = kBytes; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

}  // namespace

bool MemoryBytes::ReadAt(std::uint64_t offset, std::span<unsigned char> out) const {
  if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
  std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

std::optional<std::uint16_t> ReadU16(const ByteSource& source, std::uint64_t offset) {
  const auto value = ReadLittleEndian<2>(source, offset);
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

std::optional<std::uint32_t> ReadU32(const ByteSource& source, std::uint64_t offset) {
  const auto value = ReadLittleEndian<4>(source, offset);
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

}  // namespace tavrel
