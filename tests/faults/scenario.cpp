#include "tests/faults/scenario.h"

#include <sstream>

#include "engine/tests/fake_platform.h"

namespace tavrel::faults {

std::string PatternedBytes(std::size_t size, std::uint8_t seed) {
  // A period of 251 does not divide the chunk size, so no two chunks of a file are alike.
  std::string period(251, '\0');
  for (std::size_t i = 0; i < period.size(); ++i)
    period[i] = static_cast<char>((i * 7 + seed) % 251);
  std::string bytes;
  bytes.reserve(size + period.size());
  while (bytes.size() < size) bytes += period;
  bytes.resize(size);
  return bytes;
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.rfind('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

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
