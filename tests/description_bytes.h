#pragma once

#include <cstddef>
#include <random>
#include <string>

// Bytes of bad descriptions, written alike by the portable lookup's tests and the end-to-end tests
// under Wine, so that both check the same inputs.
namespace tavrel::description_bytes {

// UTF-16 little endian after its byte-order mark, as Notepad saves "Unicode".
inline std::string Utf16LittleEndianWithMark(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The same junk on every run and every platform.
inline std::string RandomBytes(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

}  // namespace tavrel::description_bytes
