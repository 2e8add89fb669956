#include "support/volstrak/image_resource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "support/volstrak/handles.h"

namespace tavrel::volstrak {
namespace {

// The most sections the loader accepts; more marks a damaged file.
constexpr WORD kMostSections = 96;
constexpr DWORD kSubdirectoryFlag = 0x80000000;
constexpr DWORD kNamedEntryFlag = 0x80000000;
constexpr WORD kLanguageNeutral = 0;

class ImageFile {
 public:
  explicit ImageFile(UniqueHandle handle) : handle_(std::move(handle)) {}

  // Exactly `size` bytes at `offset`; false when the file ends first. The file pointer is moved
  // rather than an offset passed in an OVERLAPPED: under Wine that costs a server call per read.
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    return size <= MAXDWORD && offset <= MAXLONGLONG &&
           SetFilePointerEx(handle_.get(), position, nullptr, FILE_BEGIN) &&
           ReadFile(handle_.get(), buffer, static_cast<DWORD>(size), &read, nullptr) &&
           read == size;
  }

  template <typename Struct>
  std::optional<Struct> Read(std::uint64_t offset) const {
    Struct value;
    if (!ReadAt(offset, &value, sizeof value)) return std::nullopt;
    return value;
  }

 private:
  UniqueHandle handle_;
};

// Where the image's relative virtual addresses lie in the file.
class SectionMap {
 public:
  explicit SectionMap(std::vector<IMAGE_SECTION_HEADER> sections)
      : sections_(std::move(sections)) {}

  // The file offset of `rva`, when `size` bytes from there lie in one section's file data.
  std::optional<std::uint64_t> OffsetOf(DWORD rva, DWORD size) const {
    for (const IMAGE_SECTION_HEADER& section : sections_) {
      if (rva < section.VirtualAddress) continue;
      const std::uint64_t into = rva - section.VirtualAddress;
      if (into + size <= section.SizeOfRawData) return section.PointerToRawData + into;
    }
    return std::nullopt;
  }

 private:
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

struct ResourceRoot {
  SectionMap sections;
  DWORD rva;
};

// The image's sections and the address of its resource directory, from PE32 and PE32+ headers.
std::optional<ResourceRoot> ReadHeaders(const ImageFile& file) {
  const auto dos = file.Read<IMAGE_DOS_HEADER>(0);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return std::nullopt;
  const auto nt_offset = static_cast<std::uint64_t>(dos->e_lfanew);
  const auto signature = file.Read<DWORD>(nt_offset);
  const auto header = file.Read<IMAGE_FILE_HEADER>(nt_offset + sizeof(DWORD));
  if (!signature || *signature != IMAGE_NT_SIGNATURE || !header ||
      header->NumberOfSections > kMostSections) {
    return std::nullopt;
  }
  const std::uint64_t optional_offset = nt_offset + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  // The larger PE32+ layout holds either; a PE32 header is read into its front.
  union {
    IMAGE_OPTIONAL_HEADER32 pe32;
    IMAGE_OPTIONAL_HEADER64 pe64;
  } optional{};
  const std::size_t optional_size =
      std::min<std::size_t>(header->SizeOfOptionalHeader, sizeof optional);
  if (optional_size < sizeof(WORD) || !file.ReadAt(optional_offset, &optional, optional_size)) {
    return std::nullopt;
  }
  const bool pe64 = optional.pe32.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
  if (!pe64 && optional.pe32.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return std::nullopt;
  const DWORD directories =
      pe64 ? optional.pe64.NumberOfRvaAndSizes : optional.pe32.NumberOfRvaAndSizes;
  const IMAGE_DATA_DIRECTORY& resources =
      pe64 ? optional.pe64.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE]
           : optional.pe32.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  const std::size_t needed = reinterpret_cast<const unsigned char*>(&resources + 1) -
                             reinterpret_cast<const unsigned char*>(&optional);
  if (directories <= IMAGE_DIRECTORY_ENTRY_RESOURCE || optional_size < needed ||
      resources.VirtualAddress == 0) {
    return std::nullopt;
  }
  std::vector<IMAGE_SECTION_HEADER> sections(header->NumberOfSections);
  if (!file.ReadAt(optional_offset + header->SizeOfOptionalHeader, sections.data(),
                   sections.size() * sizeof(IMAGE_SECTION_HEADER))) {
    return std::nullopt;
  }
  return ResourceRoot{SectionMap(std::move(sections)), resources.VirtualAddress};
}

// The OffsetToData of the entry for numeric `id` in the resource directory `directory_offset`
// bytes into the resources; when `id` is nothing, that of the language-neutral entry or else of
// the first.
std::optional<DWORD> FindEntry(const ImageFile& file, const ResourceRoot& root,
                               DWORD directory_offset, std::optional<WORD> id) {
  const auto offset =
      root.sections.OffsetOf(root.rva + directory_offset, sizeof(IMAGE_RESOURCE_DIRECTORY));
  const auto directory = offset ? file.Read<IMAGE_RESOURCE_DIRECTORY>(*offset) : std::nullopt;
  if (!directory) return std::nullopt;
  std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries(std::size_t{directory->NumberOfNamedEntries} +
                                                      directory->NumberOfIdEntries);
  if (entries.empty() || !file.ReadAt(*offset + sizeof(IMAGE_RESOURCE_DIRECTORY), entries.data(),
                                      entries.size() * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY))) {
    return std::nullopt;
  }
  const WORD wanted = id.value_or(kLanguageNeutral);
  for (const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry : entries) {
    if (!(entry.Name & kNamedEntryFlag) && entry.Name == wanted) return entry.OffsetToData;
  }
  if (!id) return entries.front().OffsetToData;
  return std::nullopt;
}

// A directory entry's subdirectory, or nothing when the entry is a leaf.
std::optional<DWORD> Subdirectory(std::optional<DWORD> offset_to_data) {
  if (!offset_to_data || !(*offset_to_data & kSubdirectoryFlag)) return std::nullopt;
  return *offset_to_data & ~kSubdirectoryFlag;
}

}  // namespace

std::optional<std::vector<unsigned char>> ReadImageResource(const std::wstring& path, WORD type,
                                                            WORD name, std::size_t most_bytes) {
  UniqueHandle handle = OpenedFile(CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!handle) return std::nullopt;
  const ImageFile file(std::move(handle));
  const std::optional<ResourceRoot> root = ReadHeaders(file);
  if (!root) return std::nullopt;
  const auto names = Subdirectory(FindEntry(file, *root, 0, type));
  const auto languages = names ? Subdirectory(FindEntry(file, *root, *names, name)) : std::nullopt;
  const auto leaf = languages ? FindEntry(file, *root, *languages, std::nullopt) : std::nullopt;
  if (!leaf || (*leaf & kSubdirectoryFlag)) return std::nullopt;
  const auto entry_offset =
      root->sections.OffsetOf(root->rva + *leaf, sizeof(IMAGE_RESOURCE_DATA_ENTRY));
  const auto entry =
      entry_offset ? file.Read<IMAGE_RESOURCE_DATA_ENTRY>(*entry_offset) : std::nullopt;
  if (!entry) return std::nullopt;
  std::vector<unsigned char> data(std::min<std::size_t>(entry->Size, most_bytes));
  const auto data_offset =
      root->sections.OffsetOf(entry->OffsetToData, static_cast<DWORD>(data.size()));
  if (!data_offset || !file.ReadAt(*data_offset, data.data(), data.size())) return std::nullopt;
  return data;
}

}  // namespace tavrel::volstrak
