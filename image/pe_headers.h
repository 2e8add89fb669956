#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/byte_source.h"

namespace tavrel {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kCharacteristicDll = 0x2000;

struct ImageSection {
  std::uint32_t virtual_address;
  std::uint32_t raw_size;
  std::uint32_t raw_offset;
};

struct DataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

enum class DirectoryIndex { kExport = 0, kImport = 1, kResource = 2, kDelayImport = 13 };

// What the file and optional headers of a PE32 or PE32+ image say.
struct PeHeaders {
  std::uint16_t machine;
  std::uint16_t characteristics;
  std::uint64_t image_base;
  std::vector<ImageSection> sections;
  std::array<DataDirectory, 16> directories;  // those the image lacks are empty

  bool IsDll() const { return (characteristics & kCharacteristicDll) != 0; }
  const DataDirectory& Directory(DirectoryIndex index) const {
    return directories[static_cast<std::size_t>(index)];
  }
};

// Nothing when the file is not a PE image or its headers are damaged.
std::optional<PeHeaders> ReadPeHeaders(const ByteSource& file);

// Reads at the image's relative virtual addresses (RVAs), each bounded by the file data of the
// one section that holds it.
class ImageView {
 public:
  // Both must outlive the view.
  ImageView(const ByteSource& file, const PeHeaders& headers) : file_(file), headers_(headers) {}

  // How many bytes of its section's file data lie from `rva` on; 0 outside every section.
  std::uint64_t BytesFrom(std::uint64_t rva) const;

  bool Read(std::uint64_t rva, std::span<unsigned char> out) const;
  std::optional<std::uint16_t> U16(std::uint64_t rva) const;
  std::optional<std::uint32_t> U32(std::uint64_t rva) const;

  // The NUL-terminated name at `rva`, of at most kMostNameBytes bytes before its NUL; nothing
  // when no NUL comes in time.
  std::optional<std::string> Name(std::uint64_t rva) const;
  static constexpr std::size_t kMostNameBytes = 255;

 private:
  // The file offset of `rva` and the bytes from there to the end of its section's file data.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> Locate(std::uint64_t rva) const;

  const ByteSource& file_;
  const PeHeaders& headers_;
};

}  // namespace tavrel
