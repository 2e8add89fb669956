#include "tests/e2e/driver/held_file.h"

#include <stdexcept>
#include <string>

namespace tavrel::e2e {

HeldFile::HeldFile(const std::filesystem::path& file)
    : handle_(CreateFileW(file.c_str(), GENERIC_READ, /*dwShareMode=*/0,
                          /*lpSecurityAttributes=*/nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          /*hTemplateFile=*/nullptr)) {
  if (handle_ == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot hold " + file.string() + ": " +
                             std::to_string(GetLastError()));
  }
}

HeldFile::~HeldFile() { CloseHandle(handle_); }

}  // namespace tavrel::e2e
