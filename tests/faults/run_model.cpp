#include "tests/faults/run_model.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/messages.h"

namespace tavrel::faults {

namespace {

using fake::Step;

constexpr std::size_t kChunkBytes = 16384;
constexpr std::size_t kValueBytes = 1023;
constexpr int kLastEntry = 32767;

// The fields of an entry's value: the texts between its commas.
std::vector<std::string> SplitAtCommas(const std::string& value) {
  std::vector<std::string> fields(1);
  for (const char c : value) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string FieldOf(const std::vector<std::string>& fields, std::size_t n) {
  return n <= fields.size() ? fields[n - 1] : std::string();
}

std::string FolderFromField(const std::string& field) {
  if (field.starts_with("$WIN")) return kWinDir + field.substr(4);
  if (field.starts_with("$SYSTEM")) return kSysDir + field.substr(7);
  return field;
}

enum class Outcome { kCopied, kUpToDate, kFailed, kStopped };

// Walks the run step by step over a model of the disk, counting each file-system step so that the
// injected fault lands where the engine's would.
class Simulation {
 public:
  explicit Simulation(const Scenario& scenario) : scenario_(scenario) {
    expected_.files = scenario.files;
    folders_ = scenario.folders;
    for (const auto& [path, file] : scenario.files) folders_.insert(fake::FolderOf(path));
  }

  ExpectedRun Run() {
    if (Fails(Step::kExists) || !Visible(kIniPath)) {
      Tell(std::string(kIniFileMissing), MessageIcon::kWarning);
      expected_.status = ExitStatus::kFailed;
      return expected_;
    }
    if (Fails(Step::kOpenForReading)) {
      Tell(std::string(kIniFileUnreadable), MessageIcon::kWarning);
      expected_.status = ExitStatus::kFailed;
      return expected_;
    }
    Pump();
    for (int n = 1; n <= kLastEntry; ++n) {
      ++expected_.values_read;
      const auto entry = scenario_.entries.find(n);
      if (entry == scenario_.entries.end() || entry->second.empty()) break;
      if (!Entry(entry->second.substr(0, kValueBytes))) return expected_;
    }
    Tell(std::string(kSetupComplete), MessageIcon::kNone, std::string());
    expected_.status = ExitStatus::kCompleted;
    return expected_;
  }

 private:
  // False when the run ends with this entry.
  bool Entry(const std::string& value) {
    const std::vector<std::string> fields = SplitAtCommas(value);
    const std::string source_name = FieldOf(fields, 1);
    const std::string named = FieldOf(fields, 2);
    const std::string source = std::string(kAppPath) + "\\" + source_name;
    const std::string destination =
        FolderFromField(FieldOf(fields, 3)) + "\\" + (named.empty() ? source_name : named);
    switch (Install(source, destination)) {
      case Outcome::kStopped:
        expected_.status = ExitStatus::kStopped;
        return false;
      case Outcome::kFailed:
        expected_.status = ExitStatus::kFailed;
        return false;
      case Outcome::kCopied:
      case Outcome::kUpToDate:
        break;
    }
    if (FieldOf(fields, 4) != "REGIST") return true;
    if (scenario_.unreachable.contains(SupportLibrary::Function::kRegistDll)) {
      Tell(TwoLines(kLibraryUnreachable, "RegistDll"), MessageIcon::kWarning);
      expected_.status = ExitStatus::kFailed;
      return false;
    }
    const auto result = scenario_.regist_results.find(destination);
    if (result != scenario_.regist_results.end() && result->second == 0) {
      Tell(destination + std::string(kRegistrationFailed), MessageIcon::kWarning);
    }
    return true;
  }

  Outcome Install(const std::string& source, const std::string& destination) {
    Pump();
    if (stop_asked_) return Outcome::kStopped;
    const bool destination_seen = !Fails(Step::kExists) && Visible(destination);
    if (destination_seen) {
      if (scenario_.unreachable.contains(SupportLibrary::Function::kCompareVersion)) {
        Tell(TwoLines(kLibraryUnreachable, "CompareVersion"), MessageIcon::kWarning);
        return Outcome::kFailed;
      }
      const std::optional<std::int32_t> source_version = VersionOf(source);
      const std::optional<std::int32_t> destination_version = VersionOf(destination);
      if (source_version && destination_version) {
        if (*source_version <= *destination_version) return Outcome::kUpToDate;
      } else {
        const std::optional<FileTime> source_stamp = StampOf(source);
        if (!source_stamp) return CopyFails(kCannotOpen, source);
        const std::optional<FileTime> destination_stamp = StampOf(destination);
        if (destination_stamp && *source_stamp <= *destination_stamp) return Outcome::kUpToDate;
      }
    }
    return Copy(source, destination);
  }

  Outcome Copy(const std::string& source, const std::string& destination) {
    const ScenarioFile* input = Fails(Step::kLength) ? nullptr : Find(source);
    if (input == nullptr || Fails(Step::kOpenForReading)) return CopyFails(kCannotOpen, source);
    const std::string bytes = input->bytes;
    if (Fails(Step::kCreateTemporaryBeside) || !folders_.contains(fake::FolderOf(destination))) {
      Fails(Step::kCloseReading);
      return CopyFails(kCannotCreate, destination);
    }
    for (std::size_t copied = 0; copied < bytes.size();) {
      if (Fails(Step::kRead)) return Discard(kCannotRead, source);
      if (Fails(Step::kWrite)) return Discard(kCannotWrite, destination);
      copied += std::min(kChunkBytes, bytes.size() - copied);
      Pump();
      if (stop_asked_) {
        Fails(Step::kCloseReading);
        Fails(Step::kCloseWriting);
        DeleteTemporary();
        return Outcome::kStopped;
      }
    }
    const bool input_closed = !Fails(Step::kCloseReading);
    const bool temporary_closed = !Fails(Step::kCloseWriting);
    if (!input_closed || !temporary_closed ||
        scenario_.unreachable.contains(SupportLibrary::Function::kCopyFileDateTime)) {
      DeleteTemporary();
      return CopyFails(bytes.empty() ? kCannotCreate : kCannotWrite, destination);
    }
    const ScenarioFile* old = Find(destination);
    if (Fails(Step::kReplace) || folders_.contains(destination) ||
        (old != nullptr && old->read_only)) {
      DeleteTemporary();
      return CopyFails(kCannotCreate, destination);
    }
    ScenarioFile& installed = expected_.files[destination];
    installed = {.bytes = bytes, .stamp = fake::FakeFileSystem::kNow};
    // The support library then gives it the stamp of whatever stands at the source: the new file
    // itself when a file is installed over itself.
    installed.stamp = Find(source)->stamp;
    return Outcome::kCopied;
  }

  Outcome Discard(std::string_view message, const std::string& path) {
    Fails(Step::kCloseReading);
    Fails(Step::kCloseWriting);
    DeleteTemporary();
    return CopyFails(message, path);
  }

  Outcome CopyFails(std::string_view message, const std::string& path) {
    Tell(TwoLines(message, path), MessageIcon::kNone);
    return Outcome::kFailed;
  }

  void DeleteTemporary() {
    if (Fails(Step::kDelete)) ++expected_.temporaries_left;
  }

  // Counts one call of the step; true when the injected fault lands on it.
  bool Fails(Step step) {
    const int call = ++expected_.step_calls[step];
    const bool fails =
        scenario_.fault && scenario_.fault->step == step && scenario_.fault->occurrence == call;
    expected_.fault_fires = expected_.fault_fires || fails;
    return fails;
  }

  void Pump() {
    ++expected_.pumps;
    if (scenario_.stop_at_pump == expected_.pumps) stop_asked_ = true;
  }

  void Tell(std::string text, MessageIcon icon, std::optional<std::string> title = std::nullopt) {
    expected_.messages.push_back({std::move(text), icon, std::move(title)});
  }

  const ScenarioFile* Find(const std::string& path) const {
    const auto found = expected_.files.find(path);
    return found == expected_.files.end() ? nullptr : &found->second;
  }

  bool Visible(const std::string& path) const {
    const ScenarioFile* file = Find(path);
    return file != nullptr && !file->hidden;
  }

  // Nothing when the step fails, the file is missing or its stamp cannot be read.
  std::optional<FileTime> StampOf(const std::string& path) {
    if (Fails(Step::kLastModified)) return std::nullopt;
    const ScenarioFile* file = Find(path);
    return file == nullptr ? std::nullopt : file->stamp;
  }

  std::optional<std::int32_t> VersionOf(const std::string& path) const {
    const ScenarioFile* file = Find(path);
    if (file == nullptr) return std::nullopt;
    const auto version = scenario_.versions.find(file->bytes);
    if (version == scenario_.versions.end()) return std::nullopt;
    return version->second;
  }

  const Scenario& scenario_;
  ExpectedRun expected_;
  std::set<std::string> folders_;
  bool stop_asked_ = false;
};

}  // namespace

ExpectedRun PredictRun(const Scenario& scenario) { return Simulation(scenario).Run(); }

}  // namespace tavrel::faults
