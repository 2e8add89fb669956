#include "image/tests/image_builder.h"

#include <cstdint>
#include <optional>
#include <sstream>
#include <vector>

namespace tavrel {

namespace {

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionOffset = 0x400;

// Little-endian numbers written into a growing text; Text() returns the RVA its bytes get when
// this is the section.
struct Bytes {
  std::string bytes;
  std::size_t Grow(std::size_t count) {
    bytes.resize(bytes.size() + count, '\0');
    return bytes.size() - count;
  }
  void Put(std::size_t at, std::uint64_t value, std::size_t count) {
    if (bytes.size() < at + count) bytes.resize(at + count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  }
  std::size_t Text(const std::string& text) {
    bytes += text + '\0';
    return kSectionRva + bytes.size() - text.size() - 1;
  }
};

// Descriptors of `size` bytes naming each DLL at `name_field`, then an empty one; delay-load
// descriptors say they hold RVAs.
std::size_t Descriptors(Bytes& data, const std::vector<std::string>& names, std::size_t size,
                        std::size_t name_field) {
  if (names.empty()) return 0;
  const std::size_t table = data.Grow(size * (names.size() + 1));
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (size == 32) data.Put(table + size * i, 1, 4);
    data.Put(table + size * i + name_field, data.Text(names[i]), 4);
  }
  return kSectionRva + table;
}

std::size_t Exports(Bytes& data, const std::vector<std::string>& names) {
  if (names.empty()) return 0;
  const std::size_t directory = data.Grow(40 + 4 * names.size());
  data.Put(directory + 24, names.size(), 4);
  data.Put(directory + 32, kSectionRva + directory + 40, 4);
  for (std::size_t i = 0; i < names.size(); ++i)
    data.Put(directory + 40 + 4 * i, data.Text(names[i]), 4);
  return kSectionRva + directory;
}

// Type 16, name 1, language 0x411: three directories of one entry each, the leaf, and the
// VS_VERSIONINFO header with its key and the fixed part.
std::size_t VersionResource(Bytes& data, std::optional<std::uint64_t> version) {
  if (!version) return 0;
  const std::size_t root = data.Grow(180);
  const std::uint32_t ids[] = {16, 1, 0x411};
  for (std::uint32_t level = 0; level < 3; ++level) {
    data.Put(root + 24 * level + 14, 1, 2);
    data.Put(root + 24 * level + 16, ids[level], 4);
    data.Put(root + 24 * level + 20, level < 2 ? 0x80000000u | 24 * (level + 1) : 72, 4);
  }
  const std::size_t info = root + 88;
  data.Put(root + 72, kSectionRva + info, 4);
  data.Put(root + 76, 92, 4);
  data.Put(info, 92 | 52 << 16, 4);
  const std::string key = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < key.size(); ++i) data.Put(info + 6 + 2 * i, key[i], 2);
  data.Put(info + 40, 0xFEEF04BD, 4);
  data.Put(info + 48, *version >> 32 | *version << 32, 8);
  return kSectionRva + root;
}

}  // namespace

std::string BuildImage(const std::string& words) {
  std::uint16_t machine = 0x014C;
  bool dll = true;
  std::vector<std::string> imports, delay_imports, exports;
  std::optional<std::uint64_t> version;  // as ReadFixedFileVersion gives it
  std::size_t padding = 0, cut = std::string::npos;
  std::istringstream stream(words);
  for (std::string word; stream >> word;) {
    const std::string key = word.substr(0, word.find('='));
    const std::string value = word.substr(key.size() + (key.size() < word.size() ? 1 : 0));
    if (key == "x64") machine = 0x8664;
    if (key == "exe") dll = false;
    if (key == "pad") padding = std::stoul(value);
    if (key == "cut") cut = std::stoul(value);
    if (key == "import") imports.push_back(value);
    if (key == "delay") delay_imports.push_back(value);
    if (key == "export") exports.push_back(value);
    std::istringstream parts(value);
    for (std::string part; key == "version" && std::getline(parts, part, '.');)
      version = version.value_or(0) << 16 | std::stoull(part);
  }
  Bytes data;
  const std::size_t directories[][2] = {{0, Exports(data, exports)},
                                        {1, Descriptors(data, imports, 20, 12)},
                                        {2, VersionResource(data, version)},
                                        {13, Descriptors(data, delay_imports, 32, 4)}};
  const bool wide = machine == 0x8664;  // PE32+
  const std::size_t optional_size = wide ? 240 : 224;
  const std::size_t directory_table = 0x58 + (wide ? 112 : 96);
  Bytes image;
  image.Put(0, 0x5A4D, 2);                // MZ
  image.Put(0x3C, 0x40, 4);               // where the PE headers start
  image.Put(0x40, 0x4550, 4);             // PE
  image.Put(0x44, machine | 1 << 16, 4);  // one section
  image.Put(0x54, optional_size | (0x0102 | (dll ? 0x2000 : 0)) << 16, 4);
  image.Put(0x58, wide ? 0x20B : 0x10B, 2);
  image.Put(0x58 + (wide ? 24 : 28), 0x10000000, 4);  // the image base
  image.Put(directory_table - 4, 16, 4);
  for (const auto& [index, rva] : directories) {
    image.Put(directory_table + 8 * index, rva | std::uint64_t{rva ? 40u : 0u} << 32, 8);
  }
  const std::size_t section = 0x58 + optional_size;
  image.Put(section, 0x617461642E, 8);  // .data
  image.Put(section + 8, data.bytes.size() | std::uint64_t{kSectionRva} << 32, 8);
  image.Put(section + 16, data.bytes.size() | std::uint64_t{kSectionOffset} << 32, 8);
  image.Put(kSectionOffset - 1, 0, 1);
  return (image.bytes + data.bytes + std::string(padding, '\0')).substr(0, cut);
}

}  // namespace tavrel
