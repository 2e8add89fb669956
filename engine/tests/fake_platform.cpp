#include "engine/tests/fake_platform.h"

namespace tavrel::fake {

const char* FunctionName(SupportLibrary::Function function) {
  switch (function) {
    case SupportLibrary::Function::kRegistDll:
      return "RegistDll";
    case SupportLibrary::Function::kCompareVersion:
      return "CompareVersion";
    case SupportLibrary::Function::kCopyFileDateTime:
      return "CopyFileDateTime";
  }
  return "?";
}

std::string FakeProfile::GetString(const std::string& section, const std::string& key,
                                   const std::string& file, std::size_t buffer_bytes) {
  log_.push_back("GetString " + section + " " + key);
  if (file != path) return {};
  const auto found_section = sections.find(section);
  if (found_section == sections.end()) return {};
  const auto found_key = found_section->second.find(key);
  if (found_key == found_section->second.end()) return {};
  return found_key->second.substr(0, buffer_bytes - 1);
}

void FakeUserInterface::ShowMessage(const std::string& text, MessageIcon icon,
                                    const std::optional<std::string>& title) {
  log_.push_back("ShowMessage " + text);
  messages.push_back({text, icon, title, files_.OpenFiles(), files_.TemporaryFiles().size()});
}

void FakeUserInterface::PumpEvents() {
  log_.push_back("PumpEvents");
  ++pumps;
  if (on_pump) on_pump(pumps);
}

void FakeUserInterface::EndProgram(ExitStatus status) {
  log_.push_back("EndProgram " + std::to_string(static_cast<int>(status)));
  open_files_at_end = files_.OpenFiles();
  throw ProgramEnded{status};
}

bool FakeSupportLibrary::Reachable(Function function) {
  log_.push_back(std::string("Reachable ") + FunctionName(function));
  return !unreachable.contains(function);
}

std::optional<std::int32_t> FakeSupportLibrary::RegistDll(const std::string& path,
                                                          std::int32_t flag) {
  log_.push_back("RegistDll " + path + " " + std::to_string(flag));
  if (unreachable.contains(Function::kRegistDll)) return std::nullopt;
  const auto found = regist_results.find(path);
  return found == regist_results.end() ? regist_result : found->second;
}

std::optional<std::int32_t> FakeSupportLibrary::CompareVersion(const std::string& source,
                                                               const std::string& destination,
                                                               std::int32_t& comparison_out) {
  log_.push_back("CompareVersion " + source + " " + destination);
  if (unreachable.contains(Function::kCompareVersion)) return std::nullopt;
  comparison_out = comparison;
  return compare_result;
}

bool FakeSupportLibrary::CopyFileDateTime(const std::string& destination,
                                          const std::string& source) {
  log_.push_back("CopyFileDateTime " + destination + " " + source);
  if (unreachable.contains(Function::kCopyFileDateTime)) return false;
  FakeFile* to = files_.Find(destination);
  const FakeFile* from = files_.Find(source);
  if (to != nullptr && from != nullptr) to->stamp = from->stamp;
  return true;
}

std::vector<std::string> FakePlatform::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : log) {
    if (call.starts_with(prefix)) found.push_back(call);
  }
  return found;
}

}  // namespace tavrel::fake
