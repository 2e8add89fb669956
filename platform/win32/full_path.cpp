#include "platform/win32/full_path.h"

#include <windows.h>

namespace tavrel {

std::optional<std::wstring> FullPathOf(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::nullopt;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return std::nullopt;
  full.resize(length);
  return full;
}

std::size_t RootLengthOf(const std::wstring& full_path) {
  if (full_path.size() >= 3 && full_path[1] == L':' && full_path[2] == L'\\') return 3;
  if (!full_path.starts_with(L"\\\\")) return 0;
  const std::size_t share = full_path.find(L'\\', 2);
  const std::size_t end = share == std::wstring::npos ? share : full_path.find(L'\\', share + 1);
  return end == std::wstring::npos ? 0 : end + 1;
}

}  // namespace tavrel
