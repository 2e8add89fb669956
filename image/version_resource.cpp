#include "image/version_resource.h"

#include <algorithm>
#include <array>

namespace tavrel {

namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionName = 1;   // VS_VERSION_INFO
constexpr std::uint32_t kLanguageNeutral = 0;
constexpr std::uint32_t kHighBit = 0x80000000;  // a named entry, or a subdirectory
constexpr std::uint64_t kDirectoryBytes = 16;
constexpr std::uint64_t kEntryBytes = 8;

// The resource starts with a VS_VERSIONINFO header: wLength, wValueLength, wType and the key
// L"VS_VERSION_INFO" with its NUL, padded to 4 bytes; VS_FIXEDFILEINFO follows.
constexpr char16_t kVersionKey[] = u"VS_VERSION_INFO";
constexpr std::uint64_t kKeyOffset = 6;
constexpr std::uint64_t kFixedInfoOffset = (kKeyOffset + sizeof(kVersionKey) + 3) / 4 * 4;
constexpr std::uint32_t kFixedInfoBytes = 52;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

// The OffsetToData of the entry for `id` in the directory `directory` bytes into the resources;
// without an id, that of the language-neutral entry or else of the first.
std::optional<std::uint32_t> FindEntry(const ImageView& view, std::uint64_t resources,
                                       std::uint32_t directory, std::optional<std::uint32_t> id) {
  const std::uint64_t at = resources + directory;
  const auto named = view.U16(at + 12);
  const auto numbered = view.U16(at + 14);
  if (!named || !numbered) return std::nullopt;
  const std::uint64_t entries = at + kDirectoryBytes;
  std::optional<std::uint32_t> first;
  for (std::uint64_t i = 0; i < std::uint64_t{*named} + *numbered; ++i) {
    const auto name = view.U32(entries + kEntryBytes * i);
    const auto data = view.U32(entries + kEntryBytes * i + 4);
    if (!name || !data) return std::nullopt;
    if (!first) first = data;
    if (*name == id.value_or(kLanguageNeutral)) return data;
  }
  return id ? std::nullopt : first;
}

// A directory entry's subdirectory; nothing when it is a leaf.
std::optional<std::uint32_t> Subdirectory(std::optional<std::uint32_t> offset_to_data) {
  if (!offset_to_data || !(*offset_to_data & kHighBit)) return std::nullopt;
  return *offset_to_data & ~kHighBit;
}

}  // namespace

std::optional<std::uint64_t> ReadFixedFileVersion(const ByteSource& file,
                                                  const PeHeaders& headers) {
  const std::uint32_t resources = headers.Directory(DirectoryIndex::kResource).rva;
  if (resources == 0) return std::nullopt;
  const ImageView view(file, headers);
  const auto names = Subdirectory(FindEntry(view, resources, 0, kVersionType));
  const auto languages =
      names ? Subdirectory(FindEntry(view, resources, *names, kVersionName)) : std::nullopt;
  const auto leaf = languages ? FindEntry(view, resources, *languages, std::nullopt) : std::nullopt;
  if (!leaf || (*leaf & kHighBit)) return std::nullopt;
  const auto data = view.U32(std::uint64_t{resources} + *leaf);
  const auto size = view.U32(std::uint64_t{resources} + *leaf + 4);
  if (!data || !size || *size < kFixedInfoOffset + kFixedInfoBytes) return std::nullopt;

  std::array<unsigned char, kFixedInfoOffset + kFixedInfoBytes> bytes{};
  if (!view.Read(*data, bytes)) return std::nullopt;
  const MemoryBytes info(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const auto value_length = ReadU16(info, 2);
  if (!value_length || *value_length < kFixedInfoBytes) return std::nullopt;
  for (std::size_t i = 0; i < std::size(kVersionKey); ++i) {
    if (ReadU16(info, kKeyOffset + 2 * i) != kVersionKey[i]) return std::nullopt;
  }
  const auto signature = ReadU32(info, kFixedInfoOffset);
  const auto high = ReadU32(info, kFixedInfoOffset + 8);
  const auto low = ReadU32(info, kFixedInfoOffset + 12);
  if (signature != kFixedInfoSignature || !high || !low) return std::nullopt;
  return std::uint64_t{*high} << 32 | *low;
}

}  // namespace tavrel
