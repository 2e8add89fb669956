#include "image/pe_headers.h"

#include <algorithm>

namespace tavrel {

namespace {

constexpr std::uint16_t kDosSignature = 0x5A4D;  // "MZ"
constexpr std::uint32_t kPeSignature = 0x4550;   // "PE\0\0"
constexpr std::uint64_t kLfanewOffset = 0x3C;
constexpr std::uint64_t kFileHeaderBytes = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint64_t kSectionHeaderBytes = 40;
// The most sections the loader accepts; more marks a damaged file.
constexpr std::uint16_t kMostSections = 96;

// Where the optional header's fields lie in each layout.
struct OptionalLayout {
  std::uint64_t image_base;
  bool wide_image_base;
  std::uint64_t directory_count;
  std::uint64_t directories;
};
constexpr OptionalLayout kPe32{28, false, 92, 96};
constexpr OptionalLayout kPe32Plus{24, true, 108, 112};

std::optional<ImageSection> ReadSection(const ByteSource& file, std::uint64_t at) {
  const auto virtual_address = ReadU32(file, at + 12);
  const auto raw_size = ReadU32(file, at + 16);
  const auto raw_offset = ReadU32(file, at + 20);
  if (!virtual_address || !raw_size || !raw_offset) return std::nullopt;
  return ImageSection{*virtual_address, *raw_size, *raw_offset};
}

}  // namespace

std::optional<PeHeaders> ReadPeHeaders(const ByteSource& file) {
  const auto dos = ReadU16(file, 0);
  const auto lfanew = ReadU32(file, kLfanewOffset);
  if (dos != kDosSignature || !lfanew) return std::nullopt;
  const std::uint64_t header = *lfanew + std::uint64_t{4};
  const auto machine = ReadU16(file, header);
  const auto section_count = ReadU16(file, header + 2);
  const auto optional_bytes = ReadU16(file, header + 16);
  const auto characteristics = ReadU16(file, header + 18);
  if (ReadU32(file, *lfanew) != kPeSignature || !machine || !section_count || !optional_bytes ||
      !characteristics || *section_count > kMostSections) {
    return std::nullopt;
  }
  const std::uint64_t optional_header = header + kFileHeaderBytes;
  const auto magic = ReadU16(file, optional_header);
  if (magic != kPe32Magic && magic != kPe32PlusMagic) return std::nullopt;
  const OptionalLayout& layout = magic == kPe32PlusMagic ? kPe32Plus : kPe32;
  const auto base_low = ReadU32(file, optional_header + layout.image_base);
  const auto base_high = layout.wide_image_base
                             ? ReadU32(file, optional_header + layout.image_base + 4)
                             : std::optional<std::uint32_t>(0);
  const auto directory_count = ReadU32(file, optional_header + layout.directory_count);
  if (!base_low || !base_high || !directory_count || *optional_bytes < layout.directories) {
    return std::nullopt;
  }

  PeHeaders headers{
      *machine, *characteristics, std::uint64_t{*base_high} << 32 | *base_low, {}, {}};
  // Only directories that both the count and the optional header's size hold are read.
  const std::uint64_t room = (*optional_bytes - layout.directories) / 8;
  const auto count = static_cast<std::size_t>(
      std::min<std::uint64_t>({*directory_count, room, headers.directories.size()}));
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t at = optional_header + layout.directories + 8 * i;
    const auto rva = ReadU32(file, at);
    const auto size = ReadU32(file, at + 4);
    if (!rva || !size) return std::nullopt;
    headers.directories[i] = {*rva, *size};
  }
  const std::uint64_t section_table = optional_header + *optional_bytes;
  for (std::uint64_t i = 0; i < *section_count; ++i) {
    const auto section = ReadSection(file, section_table + kSectionHeaderBytes * i);
    if (!section) return std::nullopt;
    headers.sections.push_back(*section);
  }
  return headers;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> ImageView::Locate(std::uint64_t rva) const {
  for (const ImageSection& section : headers_.sections) {
    if (rva < section.virtual_address) continue;
    const std::uint64_t into = rva - section.virtual_address;
    if (into < section.raw_size) {
      const std::uint64_t offset = section.raw_offset + into;
      const std::uint64_t in_file = offset < file_.Size() ? file_.Size() - offset : 0;
      return std::pair{offset, std::min<std::uint64_t>(section.raw_size - into, in_file)};
    }
  }
  return std::nullopt;
}

std::uint64_t ImageView::BytesFrom(std::uint64_t rva) const {
  const auto located = Locate(rva);
  return located ? located->second : 0;
}

bool ImageView::Read(std::uint64_t rva, std::span<unsigned char> out) const {
  const auto located = Locate(rva);
  return located && out.size() <= located->second && file_.ReadAt(located->first, out);
}

std::optional<std::uint16_t> ImageView::U16(std::uint64_t rva) const {
  const auto located = Locate(rva);
  if (!located || located->second < 2) return std::nullopt;
  return ReadU16(file_, located->first);
}

std::optional<std::uint32_t> ImageView::U32(std::uint64_t rva) const {
  const auto located = Locate(rva);
  if (!located || located->second < 4) return std::nullopt;
  return ReadU32(file_, located->first);
}

std::optional<std::string> ImageView::Name(std::uint64_t rva) const {
  std::vector<unsigned char> bytes(
      static_cast<std::size_t>(std::min<std::uint64_t>(BytesFrom(rva), kMostNameBytes + 1)));
  if (bytes.empty() || !Read(rva, bytes)) return std::nullopt;
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  if (end == bytes.end()) return std::nullopt;
  return std::string(bytes.begin(), end);
}

}  // namespace tavrel
