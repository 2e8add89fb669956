#include "platform/win32/program_file.h"

#include <cwctype>

namespace tavrel {
namespace {

// The longest path that Windows names.
constexpr DWORD kLongestPath = 32768;

std::wstring ModuleFileName() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(name.size());
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
    // A full buffer means the name may have been cut: the call does not say so otherwise.
    if (length < size) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

// The process image's path as the system opened it; empty when it cannot be read.
std::wstring NativeImageName() {
  std::wstring name(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (!QueryFullProcessImageNameW(GetCurrentProcess(), PROCESS_NAME_NATIVE, name.data(), &length)) {
    return std::wstring();
  }
  name.resize(length);
  return name;
}

}  // namespace

std::wstring ReachableProgramFile(const std::wstring& started_as, UINT drive_type,
                                  std::wstring_view native_image) {
  if (drive_type != DRIVE_NO_ROOT_DIR || started_as.size() < 3 || started_as[1] != L':' ||
      started_as[2] != L'\\') {
    return started_as;
  }
  // A redirector names a mapping by a component of its own, ";" and the drive, followed by the
  // server, the share and the path on it.
  for (std::size_t at = native_image.find(L"\\;"); at != std::wstring_view::npos;
       at = native_image.find(L"\\;", at + 1)) {
    if (at + 3 >= native_image.size() || native_image[at + 3] != L':' ||
        std::towupper(native_image[at + 2]) != std::towupper(started_as[0])) {
      continue;
    }
    const std::size_t server = native_image.find(L'\\', at + 1);
    const std::wstring_view rest =
        native_image.substr(server == std::wstring_view::npos ? native_image.size() : server + 1);
    const std::size_t share = rest.find(L'\\');
    if (share == 0 || share == std::wstring_view::npos || share + 1 == rest.size() ||
        rest[share + 1] == L'\\') {
      return started_as;
    }
    return L"\\\\" + std::wstring(rest);
  }
  return started_as;
}

std::wstring ProgramFile() {
  const std::wstring started_as = ModuleFileName();
  const UINT drive_type = GetDriveTypeW(started_as.substr(0, 3).c_str());
  return ReachableProgramFile(started_as, drive_type,
                              drive_type == DRIVE_NO_ROOT_DIR ? NativeImageName() : L"");
}

}  // namespace tavrel
