#include <iconv.h>

#include <cstddef>
#include <stdexcept>

#include "platform/portable/cp932_text.h"
#include "text/cp932_bytes.h"
#include "text/utf8.h"

namespace tavrel {

namespace {

constexpr char32_t kDefaultChar = 0x30FB;

// glibc's table lacks the single bytes that Windows maps into the private use area (and 0x80 to
// U+0080); both directions keep them so that they round-trip as they do on Windows.
struct ExtraByte {
  unsigned char byte;
  char32_t code_point;
};
constexpr ExtraByte kExtraBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no CP932");
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one whole character; false when it has no mapping.
  bool Convert(std::string_view in, std::string& out) {
    char* in_pointer = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    char buffer[8];
    char* out_pointer = buffer;
    std::size_t out_left = sizeof buffer;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle_, &in_pointer, &in_left, &out_pointer, &out_left) ==
            static_cast<std::size_t>(-1) ||
        in_left != 0) {
      return false;
    }
    out.append(buffer, static_cast<std::size_t>(out_pointer - buffer));
    return true;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Cp932CharLength(bytes, at);
    const auto byte = static_cast<unsigned char>(bytes[at]);
    const std::string_view character = bytes.substr(at, length);
    at += length;
    if (byte < 0x80) {
      out += static_cast<char>(byte);
      continue;
    }
    bool extra = false;
    for (const ExtraByte& entry : kExtraBytes) {
      if (length == 1 && entry.byte == byte) {
        AppendUtf8(entry.code_point, out);
        extra = true;
      }
    }
    if (!extra && !converter.Convert(character, out)) AppendUtf8(kDefaultChar, out);
  }
  return out;
}

std::string Utf8ToCp932(std::string_view text) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, at);
    const std::string_view character = text.substr(at, length);
    at += length;
    if (length == 1) {
      out += static_cast<unsigned char>(character[0]) < 0x80 ? character[0] : '?';
      continue;
    }
    bool extra = false;
    for (const ExtraByte& entry : kExtraBytes) {
      std::string encoded;
      AppendUtf8(entry.code_point, encoded);
      if (encoded == character) {
        out += static_cast<char>(entry.byte);
        extra = true;
      }
    }
    // One "?" for each UTF-16 unit: a character beyond U+FFFF takes two.
    if (!extra && !converter.Convert(character, out)) out += length == 4 ? "??" : "?";
  }
  return out;
}

}  // namespace tavrel
