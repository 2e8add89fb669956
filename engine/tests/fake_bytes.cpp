#include "engine/tests/fake_bytes.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace tavrel::fake {

namespace {

bool AllEqual(const char* data, std::size_t size, char byte) {
  // Comparing the bytes with their own next neighbours keeps this at memcmp speed for 2 GiB.
  return size == 0 || (data[0] == byte && std::memcmp(data, data + 1, size - 1) == 0);
}

}  // namespace

FakeBytes::FakeBytes(std::string bytes) : kept_(std::move(bytes)) {
  if (kept_.size() > kKeptBytes) throw std::logic_error("a fake file this large must be Repeated");
}

FakeBytes FakeBytes::Repeated(char byte, std::uint64_t count) {
  FakeBytes bytes;
  if (count <= kKeptBytes) {
    bytes.kept_.assign(static_cast<std::size_t>(count), byte);
  } else {
    bytes.repeated_count_ = count;
    bytes.repeated_byte_ = byte;
  }
  return bytes;
}

void FakeBytes::CopyTo(std::uint64_t offset, std::span<std::byte> out) const {
  if (repeated_count_ > 0) {
    std::memset(out.data(), repeated_byte_, out.size());
  } else {
    std::memcpy(out.data(), kept_.data() + offset, out.size());
  }
}

void FakeBytes::Append(std::span<const std::byte> data) {
  const auto* chars = reinterpret_cast<const char*>(data.data());
  if (repeated_count_ == 0 && kept_.size() + data.size() <= kKeptBytes) {
    kept_.append(chars, data.size());
    return;
  }
  if (repeated_count_ == 0) {
    repeated_byte_ = kept_.empty() ? chars[0] : kept_[0];
    if (!AllEqual(kept_.data(), kept_.size(), repeated_byte_)) {
      throw std::logic_error("a large fake file must be one byte repeated");
    }
    repeated_count_ = kept_.size();
    kept_.clear();
  }
  if (!AllEqual(chars, data.size(), repeated_byte_)) {
    throw std::logic_error("a large fake file must be one byte repeated");
  }
  repeated_count_ += data.size();
}

std::string FakeBytes::Text() const {
  if (repeated_count_ == 0) return kept_;
  return std::to_string(repeated_count_) + " x '" + repeated_byte_ + "'";
}

void PrintTo(const FakeBytes& bytes, std::ostream* out) { *out << '"' << bytes.Text() << '"'; }

std::string PatternedBytes(std::size_t size, std::uint8_t seed) {
  // A period of 251 does not divide the chunk size, so no two chunks of a file are alike.
  std::string period(251, '\0');
  for (std::size_t i = 0; i < period.size(); ++i) {
    period[i] = static_cast<char>((i * 7 + seed) % 251);
  }
  std::string bytes;
  bytes.reserve(size + period.size());
  while (bytes.size() < size) bytes += period;
  bytes.resize(size);
  return bytes;
}

}  // namespace tavrel::fake
