#include "tests/faults/scenario.h"

#include <sstream>

#include "engine/tests/fake_platform.h"

namespace tavrel::faults {

std::string Describe(const Scenario& scenario) {
  std::ostringstream out;
  for (const auto& [path, file] : scenario.files) {
    out << "file " << path << " size " << file.bytes.size() << " stamp "
        << (file.stamp ? std::to_string(*file.stamp) : "unreadable")
        << (file.read_only ? " read-only" : "") << (file.hidden ? " hidden" : "");
    const auto version = scenario.versions.find(file.bytes);
    if (version != scenario.versions.end()) out << " version " << version->second;
    out << "\n";
  }
  for (const std::string& folder : scenario.folders) out << "folder " << folder << "\n";
  for (const auto& [n, value] : scenario.entries) out << "Copy" << n << "=" << value << "\n";
  for (const auto& [path, result] : scenario.regist_results) {
    out << "RegistDll " << path << " -> " << result << "\n";
  }
  for (const SupportLibrary::Function function : scenario.unreachable) {
    out << "unreachable " << fake::FunctionName(function) << "\n";
  }
  if (scenario.fault) {
    out << "fault " << fake::StepName(scenario.fault->step) << " #" << scenario.fault->occurrence
        << "\n";
  }
  if (scenario.stop_at_pump) out << "stop at pump " << *scenario.stop_at_pump << "\n";
  return out.str();
}

}  // namespace tavrel::faults
