#include "tests/e2e/driver/artefacts.h"

#include <string>

#include "platform/win32/text_conversion.h"

namespace tavrel::e2e {
namespace {

// A host path of the build tree ("/work/...") as Wine sees it ("Z:\work\...").
std::filesystem::path ThroughDriveZ(std::string_view host_path) {
  std::string windows_path = "Z:" + std::string(host_path);
  for (char& c : windows_path) {
    if (c == '/') c = '\\';
  }
  return Utf8ToWide(windows_path);
}

}  // namespace

// The build passes the host paths of its outputs as compile definitions.
std::filesystem::path TavrelExe() { return ThroughDriveZ(TAVREL_E2E_TAVREL_EXE); }
std::filesystem::path LoggingVolstrak() { return ThroughDriveZ(TAVREL_E2E_LOGGING_VOLSTRAK); }
std::filesystem::path VolstrakFixture(std::string_view name) {
  return ThroughDriveZ(std::string(TAVREL_E2E_FIXTURE_DIR) + "/fixture_" + std::string(name) +
                       ".dll");
}
std::filesystem::path CasesRoot() { return ThroughDriveZ(TAVREL_E2E_CASES_DIR); }
std::filesystem::path FullDiskDrive() { return std::string(TAVREL_E2E_FULL_DISK_DRIVE) + "\\"; }
std::filesystem::path OneGibSource() {
  return ThroughDriveZ(std::string(TAVREL_E2E_SCRATCH_DIR) + "/one-gib.bin");
}

}  // namespace tavrel::e2e
