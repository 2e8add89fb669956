#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "engine/messages.h"
#include "engine/module1.h"

namespace tavrel::fake {

struct FakeFile {
  std::string bytes = {};
  std::optional<FileTime> date = 100;  // nothing: the stamp cannot be read
  bool hidden = false;                 // or system: no ordinary file
  bool locked = false;                 // held by another program: neither Readable nor replaceable
  bool operator==(const FakeFile&) const = default;
};

// A file of `size` bytes of a period of 251, which does not divide the chunk size: a lost,
// doubled or shifted chunk shows.
inline FakeFile Periodic(std::size_t size, FileTime date = 100) {
  FakeFile file{.bytes = std::string(size, '\0'), .date = date};
  for (std::size_t i = 0; i < size; ++i) file.bytes[i] = static_cast<char>(i % 251);
  return file;
}

// Files by path.
using Files = std::map<std::string, FakeFile>;

// The file at `path`, if there is one.
inline std::optional<FakeFile> At(const Files& files, const std::string& path) {
  const auto found = files.find(path);
  return found == files.end() ? std::nullopt : std::optional(found->second);
}

// The file-system steps that can be made to fail: lookups by name (and the date of an open file),
// then the opening and use of files.
enum class Step { kLookup, kOpen, kLength, kRead, kWrite, kClose, kInstall };

// The whole platform in memory, and an engine over it: C:\WINDOWS, its system32, and the program
// in C:\Setup beside its description. Its file system is Windows as the engine can see it: a
// locked file or a folder cannot be replaced, and a file is made only in a folder that exists.
// Whatever a message or the end of the program finds open fails the test.
class FakePlatform : public Directories,
                     public Profile,
                     public FileSystem,
                     public UserInterface,
                     public SupportLibrary {
 public:
  FakePlatform() { Add(ini, {}); }

  std::optional<std::string> program = R"(C:\Setup)";

  // The description's BOOT section at `ini`; a key mapped to nothing cannot be read.
  std::string ini = R"(C:\Setup\qxSetup.ini)";
  std::map<std::string, std::optional<std::string>> boot;

  Files files;
  std::map<std::string, std::string> installed;  // every destination replaced: its new bytes
  std::set<std::string> folders = {R"(C:\WINDOWS)", R"(C:\WINDOWS\system32)"};
  std::set<std::string> planted_links;  // folders reached through a link others could have made
  std::set<std::string> changeable;     // files and folders that others can change
  int held_installed = 0;               // new files in place and still held
  int open_files = 0;  // sources and temporary files; a temporary file stands only while open
  // Fails call `fail_call` (counted from 1) of this kind of step.
  Step fail_step = Step::kLookup;
  int fail_call = 0;
  int calls = 0;  // of the step that is to fail
  bool Fails(Step step) { return fail_call != 0 && step == fail_step && ++calls == fail_call; }
  void Add(const std::string& path, FakeFile file) {
    folders.insert(path.substr(0, path.rfind('\\')));
    files[path] = std::move(file);
  }
  bool FileWithout(const std::string& path, bool FakeFile::*flag) {  // a lookup
    const auto file = Fails(Step::kLookup) ? std::nullopt : At(files, path);
    return file && !(*file.*flag);
  }

  std::vector<std::string> messages;
  int pumps = 0;
  int stop_at_pump = 0;  // asks for a stop at this pump, counted from 1
  bool progress_window = false;

  std::map<std::string, int> versions;                 // files without one cannot be compared
  std::map<std::string, std::int32_t> regist_results;  // 1 for any other path
  std::set<Function> unreachable;
  std::set<std::string> unpassable;     // paths the ANSI code page cannot hold
  std::set<std::string> sfc_protected;  // by Windows Resource Protection
  std::vector<std::string> registered;

  Module1 engine{Platform{*this, *this, *this, *this, *this}};
  ExitStatus Run() try {  // RunSetup to the end of the program
    engine.RunSetup();
  } catch (const ExitStatus status) {  // thrown by EndProgram
    return status;
  }

  std::string WindowsDirectory() override { return R"(C:\WINDOWS)"; }
  std::string SystemDirectory() override { return R"(C:\WINDOWS\system32)"; }
  std::optional<std::string> ProgramFolder() override { return program; }
  bool ProtectedBySystem(const std::string& path) override { return sfc_protected.contains(path); }

  std::optional<std::string> GetString(const std::string& section, const std::string& key,
                                       const std::string& path, std::size_t buffer_bytes) override {
    // Entries are read only in a run, under a progress window that has been drawn.
    EXPECT_TRUE(engine.Running() && progress_window && pumps > 0);
    // A description that is gone or held answers as if every key were missing.
    const auto description = path == ini ? At(files, path) : std::nullopt;
    if (section != "BOOT" || !description || description->locked || !boot.contains(key)) return "";
    return boot[key] ? std::optional(boot[key]->substr(0, buffer_bytes - 1)) : std::nullopt;
  }

  bool Exists(const std::string& path) override { return FileWithout(path, &FakeFile::hidden); }
  bool IsFile(const std::string& path) override {
    return !Fails(Step::kLookup) && files.contains(path);
  }
  bool Readable(const std::string& path) override { return FileWithout(path, &FakeFile::locked); }
  std::optional<FileTime> LastModified(const std::string& path) override {
    return Fails(Step::kLookup) || !files.contains(path) ? std::nullopt : files[path].date;
  }
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::unique_ptr<DestinationFolder> HoldFolderOf(const std::string& destination) override;
  bool ChangeableByOthers(const std::string& path) override {  // the file or its folder
    return changeable.contains(path) || changeable.contains(path.substr(0, path.rfind('\\')));
  }

  void ShowProgressWindow() override { progress_window = true; }
  void UnloadProgressWindow() override { progress_window = false; }
  // Only the completion message has a title, the empty one, and it comes after the progress window
  // is down; it and the copy's file messages come without the warning sign.
  void ShowMessage(const std::string& text, MessageIcon icon,
                   const std::optional<std::string>& title) override {
    const bool done = text == kSetupComplete;
    EXPECT_EQ(title, done ? std::optional<std::string>("") : std::nullopt) << text;
    EXPECT_EQ(icon == MessageIcon::kNone, done || text.starts_with("ﾌｧｲﾙ")) << text;
    EXPECT_TRUE(open_files == 0 && !(done && progress_window)) << text;
    messages.push_back(text);
  }
  void PumpEvents() override {
    if (++pumps == stop_at_pump) engine.RequestStop();
  }
  [[noreturn]] void EndProgram(ExitStatus status) override {
    EXPECT_EQ(open_files, 0);
    throw status;
  }

  bool Reachable(Function function) override { return !unreachable.contains(function); }
  bool CanPass(const std::string& path) override { return !unpassable.contains(path); }
  std::optional<std::int32_t> RegistDll(const std::string& path, std::int32_t flag) override {
    if (unreachable.contains(Function::kRegistDll)) return std::nullopt;
    registered.push_back(flag == -1 ? path : path + " flag " + std::to_string(flag));
    return regist_results.contains(path) ? regist_results[path] : 1;
  }
  std::optional<std::int32_t> CompareVersion(const std::string& source,
                                             const std::string& destination,
                                             std::int32_t& comparison) override {
    if (unreachable.contains(Function::kCompareVersion)) return std::nullopt;
    if (!versions.contains(source) || !versions.contains(destination)) return 0;
    comparison = versions[source] - versions[destination];
    return 1;
  }
  bool CopyFileDateTime(const std::string& destination, const std::string& source) override {
    EXPECT_EQ(held_installed, 1);  // the file just put in place, and nothing in its place
    files.at(destination).date = files.at(source).date;  // the engine dates only files there
    return true;
  }
};

// An open file: a source, read from a copy of its file, or a temporary file, written into its
// own; open until it is closed or destroyed.
class FakeOpenFile : public TemporaryFile {
 public:
  FakeOpenFile(FakePlatform& platform, FakeFile file, std::string destination = {})
      : platform_(platform), file_(std::move(file)), destination_(std::move(destination)) {
    ++platform_.open_files;
  }
  ~FakeOpenFile() override {
    Close();
    if (installed_) --platform_.held_installed;
  }

  std::optional<std::uint64_t> Length() override {
    return platform_.Fails(Step::kLength) ? std::nullopt : std::optional(file_.bytes.size());
  }
  std::optional<FileTime> LastModified() override {
    return platform_.Fails(Step::kLookup) ? std::nullopt : file_.date;
  }
  bool Read(std::span<std::byte> buffer) override {
    EXPECT_LE(buffer.size(), 16384u);  // a chunk at most, and so between two pumps
    if (!open_ || platform_.Fails(Step::kRead) || file_.bytes.size() - offset_ < buffer.size()) {
      return false;
    }
    offset_ += file_.bytes.copy(reinterpret_cast<char*>(buffer.data()), buffer.size(), offset_);
    return true;
  }
  bool Write(std::span<const std::byte> data) override {
    if (!open_ || platform_.Fails(Step::kWrite)) return false;
    file_.bytes.append(reinterpret_cast<const char*>(data.data()), data.size());
    return true;
  }
  bool Close() override {
    const bool failed = open_ && platform_.Fails(Step::kClose);
    if (std::exchange(open_, false)) --platform_.open_files;
    return !failed;
  }
  using enum Outcome;
  Outcome Install() override {
    const bool flushed = open_ && !platform_.Fails(Step::kInstall);
    if (!Close() || !flushed) return kNotWritten;
    const auto old = At(platform_.files, destination_);
    if (platform_.folders.contains(destination_) || (old && old->locked)) return kNotReplaced;
    platform_.installed[destination_] = file_.bytes;
    platform_.files[destination_] = file_;
    installed_ = true;
    ++platform_.held_installed;
    return kInstalled;
  }

 private:
  FakePlatform& platform_;
  FakeFile file_;
  std::string destination_;
  std::size_t offset_ = 0;
  bool open_ = true;
  bool installed_ = false;
};

struct FakeFolder : DestinationFolder {
  FakePlatform& platform;
  std::string folder;
  FakeFolder(FakePlatform& p, std::string f) : platform(p), folder(std::move(f)) {}
  std::unique_ptr<TemporaryFile> CreateTemporary(const std::string& destination) override {
    EXPECT_EQ(destination.substr(0, destination.rfind('\\')), folder);
    return std::make_unique<FakeOpenFile>(platform, FakeFile{.date = std::nullopt}, destination);
  }
};

inline std::unique_ptr<File> FakePlatform::OpenForReading(const std::string& path) {
  const auto file = Fails(Step::kOpen) ? std::nullopt : At(files, path);
  return file ? std::make_unique<FakeOpenFile>(*this, *file) : nullptr;
}

inline std::unique_ptr<DestinationFolder> FakePlatform::HoldFolderOf(
    const std::string& destination) {
  const std::string folder = destination.substr(0, destination.rfind('\\'));
  if (!folders.contains(folder) || planted_links.contains(folder)) return nullptr;
  return std::make_unique<FakeFolder>(*this, folder);
}

}  // namespace tavrel::fake
