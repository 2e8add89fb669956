#include "platform/win32/win32_file.h"

#include <algorithm>

namespace tavrel {
namespace {

// ReadFile and WriteFile take a 32-bit count; larger spans go in pieces.
constexpr std::size_t kLargestCall = 1u << 30;

DWORD NextCount(std::size_t remaining) {
  return static_cast<DWORD>(std::min(remaining, kLargestCall));
}

}  // namespace

bool Win32File::Read(std::span<std::byte> buffer) {
  while (!buffer.empty()) {
    DWORD read = 0;
    if (!ReadFile(handle_.get(), buffer.data(), NextCount(buffer.size()), &read, nullptr)) {
      return false;
    }
    // ReadFile succeeds with 0 bytes at the end of the file.
    if (read == 0) return false;
    buffer = buffer.subspan(read);
  }
  return true;
}

bool Win32File::Write(std::span<const std::byte> data) {
  while (!data.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle_.get(), data.data(), NextCount(data.size()), &written, nullptr) ||
        written == 0) {
      return false;
    }
    data = data.subspan(written);
  }
  return true;
}

bool Win32File::Close() {
  if (!handle_.valid()) return false;
  const bool flushed = mode_ == Mode::kRead || FlushFileBuffers(handle_.get());
  const bool closed = handle_.Close();
  return flushed && closed;
}

}  // namespace tavrel
