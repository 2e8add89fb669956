#include "engine/tests/fake_file_system.h"

#include <cstddef>
#include <span>

namespace tavrel::fake {

const char* StepName(Step step) {
  switch (step) {
    case Step::kExists:
      return "Exists";
    case Step::kLength:
      return "Length";
    case Step::kLastModified:
      return "LastModified";
    case Step::kDelete:
      return "Delete";
    case Step::kOpenForReading:
      return "OpenForReading";
    case Step::kCreateTemporaryBeside:
      return "CreateTemporaryBeside";
    case Step::kRead:
      return "Read";
    case Step::kWrite:
      return "Write";
    case Step::kCloseReading:
      return "CloseReading";
    case Step::kCloseWriting:
      return "CloseWriting";
    case Step::kReplace:
      return "Replace";
  }
  return "?";
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.rfind('\\');
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

namespace {

bool IsTemporaryName(const std::string& path) {
  return path.substr(FolderOf(path).size()).starts_with("\\~tavrel");
}

}  // namespace

// A file opened through the fake; it stays registered as open until Close() or destruction.
class FakeOpenFile : public File {
 public:
  FakeOpenFile(FakeFileSystem& files, std::string path, bool writing)
      : files_(files), path_(std::move(path)), writing_(writing) {
    files_.open_paths_.insert(path_);
  }
  ~FakeOpenFile() override { Release(); }

  bool Read(std::span<std::byte> buffer) override {
    if (files_.Fails(Step::kRead, path_ + " " + std::to_string(buffer.size()))) return false;
    const FakeFile& file = files_.files_.at(path_);
    if (!open_ || writing_ || file.bytes.size() - offset_ < buffer.size()) return false;
    file.bytes.CopyTo(offset_, buffer);
    offset_ += buffer.size();
    return true;
  }

  bool Write(std::span<const std::byte> data) override {
    if (files_.Fails(Step::kWrite, path_ + " " + std::to_string(data.size()))) return false;
    if (!open_ || !writing_) return false;
    files_.files_.at(path_).bytes.Append(data);
    return true;
  }

  bool Close() override {
    const bool failed = files_.Fails(writing_ ? Step::kCloseWriting : Step::kCloseReading, path_);
    const bool was_open = open_;
    Release();
    return was_open && !failed;
  }

 private:
  void Release() {
    if (!open_) return;
    open_ = false;
    files_.open_paths_.erase(files_.open_paths_.find(path_));
  }

  FakeFileSystem& files_;
  std::string path_;
  bool writing_;
  bool open_ = true;
  std::uint64_t offset_ = 0;
};

void FakeFileSystem::AddFile(const std::string& path, FakeFile file) {
  folders_.insert(FolderOf(path));
  files_[path] = std::move(file);
}

FakeFile* FakeFileSystem::Find(const std::string& path) {
  const auto found = files_.find(path);
  return found == files_.end() ? nullptr : &found->second;
}

std::optional<std::string> FakeFileSystem::Contents(const std::string& path) const {
  const auto found = files_.find(path);
  if (found == files_.end()) return std::nullopt;
  return found->second.bytes.Text();
}

std::vector<std::string> FakeFileSystem::TemporaryFiles() const {
  std::vector<std::string> temporaries;
  for (const auto& [path, file] : files_) {
    if (IsTemporaryName(path)) temporaries.push_back(path);
  }
  return temporaries;
}

std::vector<std::string> FakeFileSystem::Paths() const {
  std::vector<std::string> paths;
  for (const auto& [path, file] : files_) paths.push_back(path);
  return paths;
}

bool FakeFileSystem::Fails(Step step, const std::string& detail) {
  log_.push_back(std::string(StepName(step)) + " " + detail);
  const bool fails = faults_.contains({step, ++calls_[step]});
  if (fails) {
    fault_fired_ = true;
    log_.back() += " (fails)";
  }
  return fails;
}

bool FakeFileSystem::IsOpen(const std::string& path) const { return open_paths_.contains(path); }

bool FakeFileSystem::Exists(const std::string& path) {
  if (Fails(Step::kExists, path)) return false;
  const auto found = files_.find(path);
  return found != files_.end() && !found->second.hidden;
}

std::optional<std::uint64_t> FakeFileSystem::Length(const std::string& path) {
  if (Fails(Step::kLength, path)) return std::nullopt;
  const FakeFile* file = Find(path);
  if (file == nullptr) return std::nullopt;
  return file->bytes.size();
}

std::optional<FileTime> FakeFileSystem::LastModified(const std::string& path) {
  if (Fails(Step::kLastModified, path)) return std::nullopt;
  const FakeFile* file = Find(path);
  if (file == nullptr) return std::nullopt;
  return file->stamp;
}

bool FakeFileSystem::Delete(const std::string& path) {
  if (Fails(Step::kDelete, path)) return false;
  const FakeFile* file = Find(path);
  if (file == nullptr || file->read_only || IsOpen(path)) return false;
  files_.erase(path);
  return true;
}

std::unique_ptr<File> FakeFileSystem::OpenForReading(const std::string& path) {
  if (Fails(Step::kOpenForReading, path) || Find(path) == nullptr) return nullptr;
  return std::make_unique<FakeOpenFile>(*this, path, /*writing=*/false);
}

std::optional<TemporaryFile> FakeFileSystem::CreateTemporaryBeside(const std::string& path) {
  if (Fails(Step::kCreateTemporaryBeside, path)) return std::nullopt;
  const std::string folder = FolderOf(path);
  if (!folders_.contains(folder)) return std::nullopt;
  std::string temporary = folder + "\\~tavrel" + std::to_string(++temporaries_made_) + ".tmp";
  files_[temporary] = FakeFile{.bytes = FakeBytes(), .stamp = kNow};
  return TemporaryFile{std::make_unique<FakeOpenFile>(*this, temporary, /*writing=*/true),
                       temporary};
}

bool FakeFileSystem::Replace(const std::string& temporary, const std::string& destination) {
  if (Fails(Step::kReplace, temporary + " " + destination)) return false;
  const auto source = files_.find(temporary);
  const FakeFile* old = Find(destination);
  if (source == files_.end() || IsOpen(temporary) || IsOpen(destination) ||
      folders_.contains(destination) || (old != nullptr && old->read_only)) {
    return false;
  }
  FakeFile replacement = std::move(source->second);
  files_.erase(source);
  files_[destination] = std::move(replacement);
  return true;
}

}  // namespace tavrel::fake
