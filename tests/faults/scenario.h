#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "engine/tests/fake_file_system.h"
#include "platform/file_system.h"
#include "platform/support_library.h"

namespace tavrel::faults {

// The folders that the fake platform reports.
inline constexpr char kWinDir[] = R"(C:\WINDOWS)";
inline constexpr char kSysDir[] = R"(C:\WINDOWS\system32)";
inline constexpr char kAppPath[] = R"(C:\Setup)";
inline constexpr char kIniPath[] = R"(C:\Setup\qxSetup.ini)";

struct ScenarioFile {
  std::string bytes = {};
  std::optional<FileTime> stamp = 100;  // nothing: the stamp cannot be read
  bool read_only = false;
  bool hidden = false;
  bool operator==(const ScenarioFile&) const = default;
};

struct InjectedFault {
  fake::Step step;
  int occurrence;  // counted from 1, over the whole run
};

// One setup run: the disk before it, the description, what the support library answers, and at
// most one disturbance (a failing file-system step or a stop request).
struct Scenario {
  std::set<std::string> folders;  // besides the folders of `files`
  std::map<std::string, ScenarioFile> files;
  std::map<int, std::string> entries;  // BOOT/CopyN by N
  // The version number that the support library reads from a file, by its contents; files whose
  // contents are not listed carry none.
  std::map<std::string, std::int32_t> versions;
  // RegistDll's result by path; every other path registers.
  std::map<std::string, std::int32_t> regist_results;
  std::set<SupportLibrary::Function> unreachable;
  std::optional<InjectedFault> fault;
  std::optional<int> stop_at_pump;  // counted from 1
};

// The scenario in a few lines, to reproduce a failing case by hand.
std::string Describe(const Scenario& scenario);

}  // namespace tavrel::faults
