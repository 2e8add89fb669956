#include "tools/tavrel-check/stream_bytes.h"

#include <system_error>

namespace tavrel {

std::unique_ptr<StreamBytes> StreamBytes::Open(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file) return nullptr;
  return std::unique_ptr<StreamBytes>(new StreamBytes(std::move(file), size));
}

bool StreamBytes::ReadAt(std::uint64_t offset, std::span<unsigned char> out) const {
  if (offset > size_ || out.size() > size_ - offset) return false;
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return file_.gcount() == static_cast<std::streamsize>(out.size());
}

}  // namespace tavrel
