#include "support/volstrak/file_bytes.h"

#include <algorithm>
#include <cstddef>

namespace tavrel::volstrak {

std::optional<FileBytes> FileBytes::Open(const std::wstring& path) {
  UniqueHandle handle = OpenedFile(CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
  LARGE_INTEGER size{};
  if (!handle || !GetFileSizeEx(handle.get(), &size) || size.QuadPart < 0) return std::nullopt;
  return FileBytes(std::move(handle), static_cast<std::uint64_t>(size.QuadPart));
}

bool FileBytes::ReadAt(std::uint64_t offset, std::span<unsigned char> out) const {
  if (offset > size_ || out.size() > size_ - offset) return false;
  const std::uint64_t start = offset / kBlockBytes * kBlockBytes;
  if (offset + out.size() > start + kBlockBytes) return ReadFromFile(offset, out);
  if (block_.empty() || block_start_ != start) {
    block_.resize(static_cast<std::size_t>(std::min(kBlockBytes, size_ - start)));
    if (!ReadFromFile(start, block_)) {
      block_.clear();
      return false;
    }
    block_start_ = start;
  }
  std::copy_n(block_.begin() + static_cast<std::ptrdiff_t>(offset - start), out.size(),
              out.begin());
  return true;
}

// The file pointer is moved rather than an offset passed in an OVERLAPPED: under Wine that costs
// a server call per read.
bool FileBytes::ReadFromFile(std::uint64_t offset, std::span<unsigned char> out) const {
  if (out.size() > MAXDWORD) return false;
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  return SetFilePointerEx(handle_.get(), position, nullptr, FILE_BEGIN) &&
         ReadFile(handle_.get(), out.data(), static_cast<DWORD>(out.size()), &read, nullptr) &&
         read == out.size();
}

}  // namespace tavrel::volstrak
