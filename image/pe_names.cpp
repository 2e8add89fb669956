#include "image/pe_names.h"

#include <cstdint>

namespace tavrel {

namespace {

struct DescriptorTable {
  DirectoryIndex directory;
  std::uint64_t descriptor_bytes;
  std::uint64_t name_field;
  // Delay-load descriptors of old linkers hold addresses, not RVAs; they lack this bit.
  std::optional<std::uint64_t> rva_attribute_field;
};
constexpr DescriptorTable kImports{DirectoryIndex::kImport, 20, 12, std::nullopt};
constexpr DescriptorTable kDelayImports{DirectoryIndex::kDelayImport, 32, 4, 0};

// The names read so far. Together they never take more bytes than the file holds, however often
// its tables point at one long name.
class NameList {
 public:
  explicit NameList(const ByteSource& file) : bytes_left_(file.Size()) {}

  // False, and nothing added, when there is no name or no room for it.
  bool Add(std::optional<std::string> name) {
    if (!name || name->size() + 1 > bytes_left_) return false;
    bytes_left_ -= name->size() + 1;
    names_.push_back(*std::move(name));
    return true;
  }
  std::vector<std::string> Take() { return std::move(names_); }

 private:
  std::uint64_t bytes_left_;
  std::vector<std::string> names_;
};

// The names of a table of descriptors that ends at one without a name. Bounded by the bytes
// of the table's section, not by anything the file counts.
std::optional<std::vector<std::string>> ReadDescriptorNames(const ByteSource& file,
                                                            const PeHeaders& headers,
                                                            const DescriptorTable& table) {
  const std::uint32_t start = headers.Directory(table.directory).rva;
  if (start == 0) return std::vector<std::string>{};
  const ImageView view(file, headers);
  const std::uint64_t end = start + view.BytesFrom(start);
  NameList names(file);
  for (std::uint64_t at = start; at + table.descriptor_bytes <= end; at += table.descriptor_bytes) {
    const auto name_address = view.U32(at + table.name_field);
    if (!name_address) return std::nullopt;
    if (*name_address == 0) return names.Take();
    std::uint64_t name_rva = *name_address;
    if (table.rva_attribute_field) {
      const auto attributes = view.U32(at + *table.rva_attribute_field);
      if (!attributes) return std::nullopt;
      if ((*attributes & 1) == 0) {
        if (name_rva < headers.image_base) return std::nullopt;
        name_rva -= headers.image_base;
      }
    }
    if (!names.Add(view.Name(name_rva))) return std::nullopt;
  }
  return std::nullopt;  // no descriptor ends the table
}

}  // namespace

std::optional<std::vector<std::string>> ReadImportNames(const ByteSource& file,
                                                        const PeHeaders& headers) {
  return ReadDescriptorNames(file, headers, kImports);
}

std::optional<std::vector<std::string>> ReadDelayImportNames(const ByteSource& file,
                                                             const PeHeaders& headers) {
  return ReadDescriptorNames(file, headers, kDelayImports);
}

std::optional<std::vector<std::string>> ReadExportNames(const ByteSource& file,
                                                        const PeHeaders& headers) {
  const std::uint32_t directory = headers.Directory(DirectoryIndex::kExport).rva;
  if (directory == 0) return std::vector<std::string>{};
  const ImageView view(file, headers);
  const auto count = view.U32(directory + std::uint64_t{24});
  const auto table = view.U32(directory + std::uint64_t{32});
  if (!count || !table) return std::nullopt;
  NameList names(file);
  // A count larger than the table's bytes fails at the first pointer past them.
  for (std::uint64_t i = 0; i < *count; ++i) {
    const auto pointer = view.U32(*table + 4 * i);
    if (!names.Add(pointer ? view.Name(*pointer) : std::nullopt)) return std::nullopt;
  }
  return names.Take();
}

}  // namespace tavrel
