#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/tests/fake_bytes.h"
#include "platform/file_system.h"

namespace tavrel::fake {

struct FakeFile {
  FakeBytes bytes;
  std::optional<FileTime> stamp = 0;  // nothing: the stamp cannot be read
  bool read_only = false;
  bool hidden = false;
};

// Each kind of step that the fake can be told to fail.
enum class Step {
  kExists,
  kLength,
  kLastModified,
  kDelete,
  kOpenForReading,
  kCreateTemporaryBeside,
  kRead,
  kWrite,
  kCloseReading,
  kCloseWriting,
  kReplace,
};
inline constexpr Step kAllSteps[] = {
    Step::kExists,       Step::kLength,         Step::kLastModified,
    Step::kDelete,       Step::kOpenForReading, Step::kCreateTemporaryBeside,
    Step::kRead,         Step::kWrite,          Step::kCloseReading,
    Step::kCloseWriting, Step::kReplace};
const char* StepName(Step step);

// The text before the last "\", as the fake takes a file's folder.
std::string FolderOf(const std::string& path);

// An in-memory file system that behaves as Windows does where the engine can tell: an open file
// can be neither deleted nor replaced, a read-only file can be read but not deleted or replaced,
// and a file can be made only in a folder that exists. Every call is appended to the log.
class FakeFileSystem : public FileSystem {
 public:
  // The stamp a newly made file gets.
  static constexpr FileTime kNow = 13'400'000'000;

  explicit FakeFileSystem(std::vector<std::string>& log) : log_(log) {}

  void AddFolder(const std::string& folder) { folders_.insert(folder); }
  void RemoveFolder(const std::string& folder) { folders_.erase(folder); }
  // Adds the file and its folder.
  void AddFile(const std::string& path, FakeFile file);

  // The occurrence-th call (counted from 1) of this step fails.
  void FailAt(Step step, int occurrence) { faults_.insert({step, occurrence}); }
  bool FaultFired() const { return fault_fired_; }

  FakeFile* Find(const std::string& path);
  // The file's bytes as text; nothing when no file is there.
  std::optional<std::string> Contents(const std::string& path) const;
  int OpenFiles() const { return static_cast<int>(open_paths_.size()); }
  // The temporary files that stand in any folder.
  std::vector<std::string> TemporaryFiles() const;
  // Every file that stands, temporary or not.
  std::vector<std::string> Paths() const;

  bool Exists(const std::string& path) override;
  std::optional<std::uint64_t> Length(const std::string& path) override;
  std::optional<FileTime> LastModified(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::optional<TemporaryFile> CreateTemporaryBeside(const std::string& path) override;
  bool Replace(const std::string& temporary, const std::string& destination) override;

 private:
  friend class FakeOpenFile;

  // Logs the call and counts it; true when a fault was set for it.
  bool Fails(Step step, const std::string& detail);
  bool IsOpen(const std::string& path) const;

  std::map<std::string, FakeFile> files_;
  std::set<std::string> folders_;
  std::multiset<std::string> open_paths_;
  int temporaries_made_ = 0;
  std::map<Step, int> calls_;
  std::set<std::pair<Step, int>> faults_;
  bool fault_fired_ = false;
  std::vector<std::string>& log_;
};

}  // namespace tavrel::fake
