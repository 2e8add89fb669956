#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

namespace tavrel::fake {

// The contents of a fake file. Up to kKeptBytes they are kept as they are; larger contents must
// be one byte repeated and are kept as that byte and a count, so that a test can copy a file of
// 2 GiB or more without holding it.
class FakeBytes {
 public:
  static constexpr std::uint64_t kKeptBytes = std::uint64_t{1} << 20;

  FakeBytes() = default;
  explicit FakeBytes(std::string bytes);
  static FakeBytes Repeated(char byte, std::uint64_t count);

  std::uint64_t size() const { return repeated_count_ > 0 ? repeated_count_ : kept_.size(); }

  // Copies out.size() bytes from offset on; the caller keeps within size().
  void CopyTo(std::uint64_t offset, std::span<std::byte> out) const;

  // Throws std::logic_error when the contents would grow past kKeptBytes without being one byte
  // repeated: a test asked the fake for more than it can hold.
  void Append(std::span<const std::byte> data);

  // The bytes as text, or a description of them for repeated contents.
  std::string Text() const;

  bool operator==(const FakeBytes&) const = default;

 private:
  std::string kept_;
  std::uint64_t repeated_count_ = 0;
  char repeated_byte_ = 0;
};

void PrintTo(const FakeBytes& bytes, std::ostream* out);

// Bytes that differ from their neighbours, so that a lost, doubled or shifted chunk shows; the
// seed tells one file from another.
std::string PatternedBytes(std::size_t size, std::uint8_t seed = 0);

}  // namespace tavrel::fake
