#include "text/cp932_bytes.h"

namespace tavrel {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsCp932TrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::size_t Cp932CharLength(std::string_view bytes, std::size_t at) {
  return IsCp932LeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2 : 1;
}

std::string_view CutCp932(std::string_view bytes, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t next = end + Cp932CharLength(bytes, end);
    if (next > max_bytes) break;
    end = next;
  }
  return bytes.substr(0, end);
}

}  // namespace tavrel
