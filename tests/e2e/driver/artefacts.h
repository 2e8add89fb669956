#pragma once

#include <filesystem>
#include <string_view>

namespace tavrel::e2e {

// Where the build put what the tests run, as Windows paths (the build tree seen through Z:).
std::filesystem::path TavrelExe();
std::filesystem::path LoggingVolstrak();
// A fixture DLL of the support library's build: volstrak_fixture_NAME, by NAME.
std::filesystem::path VolstrakFixture(std::string_view name);
// The folder under which each test case lays out its own fresh folder.
std::filesystem::path CasesRoot();

// What the fault tests' fixture (fault_disks.sh) prepares on the host: a small full-disk drive
// ("T:\\"; absent where no tmpfs could be mounted), and a file of 1 GiB of random bytes.
std::filesystem::path FullDiskDrive();
std::filesystem::path OneGibSource();

}  // namespace tavrel::e2e
