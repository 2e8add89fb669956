#include "tools/tavrel-check/payload_findings.h"

#include <algorithm>
#include <cstdio>

#include "image/pe_headers.h"
#include "tools/tavrel-check/system_dlls.h"
#include "tools/tavrel-check/windows_paths.h"

namespace tavrel {

namespace {

// Folders that, like the Windows folder, only administrators can change on a Windows as it is
// installed; elsewhere the installer registers a file only where it finds that true.
constexpr std::string_view kProgramFolders[] = {R"(C:\Program Files)", R"(C:\Program Files (x86))"};

std::string PathKey(std::string_view path) {
  std::string key;
  for (const std::string& name : PathNames(path)) key.append(name).push_back('\\');
  return key;
}

std::string MachineName(std::uint16_t machine) {
  switch (machine) {
    case kMachineI386:
      return "x86";
    case kMachineAmd64:
      return "x64";
    case 0xAA64:
      return "ARM64";
    case 0x01C4:
      return "ARM";
  }
  char name[24];
  std::snprintf(name, sizeof name, "machine 0x%04X", machine);
  return name;
}

bool InWindowsFolders(const CheckInput& input, std::string_view folder) {
  return IsWithin(folder, input.win_dir) || IsWithin(folder, input.sys_dir);
}

void CheckRegistration(const CheckInput& input, const PayloadIndex& index, std::size_t at,
                       const std::optional<ImageFacts>& facts, std::vector<Finding>& out) {
  const PlannedEntry& planned = input.plan[at];
  const std::string& name = planned.entry.source_name;
  const std::string_view folder = FolderOf(planned.entry.destination_path);
  if (!InWindowsFolders(input, folder) &&
      std::none_of(
          std::begin(kProgramFolders), std::end(kProgramFolders),
          [&](std::string_view protected_folder) { return IsWithin(folder, protected_folder); })) {
    out.push_back({Code::kRegistFixedFolder, 0, planned.n, {std::string(folder)}});
  }
  if (!facts) {
    if (input.source_exists(name)) out.push_back({Code::kNotRegistrable, 0, planned.n, {name}});
    return;
  }
  if (!facts->is_dll || !facts->exports_register) {
    out.push_back({Code::kNotRegistrable, facts->is_dll ? 2 : 1, planned.n, {name}});
  }
  if (!facts->imports_readable) out.push_back({Code::kNotRegistrable, 3, planned.n, {name}});
  // RegistDll looks beside the DLL, then in the system folder; each registration runs right
  // after its own copy, so only earlier entries have put their files there.
  for (const std::string& import : facts->imports) {
    std::optional<std::size_t> later;
    bool found = false;
    for (const std::string& place : {std::string(folder), input.sys_dir}) {
      for (const std::size_t other : index.EntriesAt(place + "\\" + import)) {
        if (other < at) found = true;
        if (other > at && (!later || other < *later)) later = other;
      }
    }
    if (found || IsWindowsSystemDll(import)) continue;
    if (later) {
      out.push_back(
          {Code::kImportLater, 0, planned.n, {name, import, std::to_string(input.plan[*later].n)}});
    } else {
      out.push_back({Code::kImportMissing, 0, planned.n, {name, import}});
    }
  }
}

}  // namespace

PayloadIndex::PayloadIndex(const std::vector<PlannedEntry>& plan) {
  for (std::size_t i = 0; i < plan.size(); ++i)
    entries_[PathKey(plan[i].entry.destination_path)].push_back(i);
}

const std::vector<std::size_t>& PayloadIndex::EntriesAt(const std::string& path) const {
  static const std::vector<std::size_t> kNone;
  const auto found = entries_.find(PathKey(path));
  return found == entries_.end() ? kNone : found->second;
}

void CheckPayload(const CheckInput& input, const PayloadIndex& index, std::size_t at,
                  std::vector<Finding>& out) {
  const PlannedEntry& planned = input.plan[at];
  const InstallEntry& entry = planned.entry;
  const std::vector<std::size_t>& same = index.EntriesAt(entry.destination_path);
  if (same.front() < at) {
    out.push_back({Code::kSameDestination,
                   0,
                   planned.n,
                   {entry.destination_path, std::to_string(input.plan[same.front()].n)}});
  }
  const std::optional<ImageFacts> facts = input.image_facts(entry.source_name);
  if (facts && facts->machine != input.installer_machine &&
      (entry.regist || InWindowsFolders(input, FolderOf(entry.destination_path)))) {
    // Variants 2 and 3 are those of an x86_64 build of the installer.
    out.push_back({Code::kOtherMachine,
                   (entry.regist ? 1 : 0) + (input.installer_machine == kMachineAmd64 ? 2 : 0),
                   planned.n,
                   {entry.source_name, MachineName(facts->machine)}});
  }
  if (entry.regist) CheckRegistration(input, index, at, facts, out);
  if (facts && !facts->has_version) {
    out.push_back({Code::kNoVersion, 0, planned.n, {entry.source_name}});
  }
}

}  // namespace tavrel
