#include "image/tests/image_builder.h"

#include <sstream>

namespace tavrel {

namespace {

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionOffset = 0x400;
constexpr std::uint32_t kImageBase = 0x10000000;

class Bytes {
 public:
  std::size_t size() const { return bytes_.size(); }
  std::size_t Grow(std::size_t count) {
    bytes_.resize(bytes_.size() + count, '\0');
    return bytes_.size() - count;
  }
  void Put(std::size_t at, std::uint64_t value, int count) {
    if (bytes_.size() < at + count) bytes_.resize(at + count, '\0');
    for (int i = 0; i < count; ++i) bytes_[at + i] = static_cast<char>(value >> (8 * i));
  }
  std::size_t Text(const std::string& text) {  // with its NUL; returns its RVA
    const std::size_t at = Grow(text.size() + 1);
    bytes_.replace(at, text.size(), text);
    return kSectionRva + at;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

// A table of descriptors, one per name and an empty one, each naming its DLL at `name_field`.
std::size_t Descriptors(Bytes& data, const std::vector<std::string>& names, int size,
                        int name_field, bool delay) {
  const std::size_t table = data.Grow(size * (names.size() + 1));
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (delay) data.Put(table + size * i, 1, 4);  // RVAs, not addresses
    data.Put(table + size * i + name_field, data.Text(names[i]), 4);
  }
  return kSectionRva + table;
}

std::size_t Exports(Bytes& data, const std::vector<std::string>& names) {
  const std::size_t directory = data.Grow(40 + 4 * names.size());
  data.Put(directory + 24, names.size(), 4);
  data.Put(directory + 32, kSectionRva + directory + 40, 4);
  for (std::size_t i = 0; i < names.size(); ++i)
    data.Put(directory + 40 + 4 * i, data.Text(names[i]), 4);
  return kSectionRva + directory;
}

// Type 16, name 1, language 0x411: a resource tree three directories deep with one leaf.
std::size_t VersionResource(Bytes& data, std::uint64_t version) {
  const std::size_t root = data.Grow(3 * 24 + 16 + 92);
  const std::uint32_t ids[] = {16, 1, 0x411};
  for (std::uint32_t level = 0; level < 3; ++level) {
    const std::size_t at = root + 24 * level;
    data.Put(at + 14, 1, 2);
    data.Put(at + 16, ids[level], 4);
    data.Put(at + 20, level < 2 ? 0x80000000u | 24 * (level + 1) : 72, 4);
  }
  const std::size_t info = root + 88;
  data.Put(root + 72, kSectionRva + info, 4);
  data.Put(root + 76, 92, 4);
  data.Put(info, 92, 2);
  data.Put(info + 2, 52, 2);
  const std::string key = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < key.size(); ++i) data.Put(info + 6 + 2 * i, key[i], 2);
  data.Put(info + 40, 0xFEEF04BD, 4);
  data.Put(info + 48, version >> 32, 4);
  data.Put(info + 52, version, 4);
  return kSectionRva + root;
}

}  // namespace

std::string BuildImage(const ImageSpec& spec) {
  Bytes data;
  const std::size_t directories[] = {
      spec.exports.empty() ? 0 : Exports(data, spec.exports),
      spec.imports.empty() ? 0 : Descriptors(data, spec.imports, 20, 12, false),
      spec.version ? VersionResource(data, *spec.version) : 0,
      spec.delay_imports.empty() ? 0 : Descriptors(data, spec.delay_imports, 32, 4, true)};
  Bytes image;
  image.Put(0, 0x5A4D, 2);
  image.Put(0x3C, 0x40, 4);
  image.Put(0x40, 0x4550, 4);
  image.Put(0x44, spec.machine, 2);
  image.Put(0x46, 1, 2);
  const int optional_size = spec.pe32_plus ? 240 : 224;
  image.Put(0x54, optional_size, 2);
  image.Put(0x56, 0x0102 | (spec.dll ? 0x2000 : 0), 2);
  const std::size_t optional = 0x58;
  image.Put(optional, spec.pe32_plus ? 0x20B : 0x10B, 2);
  image.Put(optional + (spec.pe32_plus ? 24 : 28), kImageBase, spec.pe32_plus ? 8 : 4);
  const std::size_t directory_table = optional + (spec.pe32_plus ? 112 : 96);
  image.Put(directory_table - 4, 16, 4);
  const int indexes[] = {0, 1, 2, 13};
  for (int i = 0; i < 4; ++i) {
    image.Put(directory_table + 8 * indexes[i], directories[i], 4);
    image.Put(directory_table + 8 * indexes[i] + 4, directories[i] ? 40 : 0, 4);
  }
  const std::size_t section = optional + optional_size;
  image.Put(section, 0x617461642E, 8);  // ".data"
  image.Put(section + 8, data.size(), 4);
  image.Put(section + 12, kSectionRva, 4);
  image.Put(section + 16, data.size(), 4);
  image.Put(section + 20, kSectionOffset, 4);
  image.Put(kSectionOffset - 1, 0, 1);
  return image.str() + data.str() + std::string(spec.padding, '\0');
}

ImageSpec ParseImageSpec(const std::string& words) {
  ImageSpec spec;
  std::istringstream stream(words);
  for (std::string word; stream >> word;) {
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (key == "x64") spec.machine = 0x8664, spec.pe32_plus = true;
    if (key == "exe") spec.dll = false;
    if (key == "pad") spec.padding = std::stoul(value);
    if (key == "import") spec.imports.push_back(value);
    if (key == "delay") spec.delay_imports.push_back(value);
    if (key == "export") spec.exports.push_back(value);
    if (key == "version") {
      std::istringstream parts(value);
      spec.version = 0;
      for (std::string part; std::getline(parts, part, '.');)
        spec.version = *spec.version << 16 | std::stoull(part);
    }
  }
  return spec;
}

}  // namespace tavrel
