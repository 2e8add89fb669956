#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/tests/fake_file_system.h"
#include "platform/platform.h"

namespace tavrel::fake {

class FakeDirectories : public Directories {
 public:
  std::string windows = "C:\\WINDOWS";
  std::string system = "C:\\WINDOWS\\system32";
  std::string program = "C:\\Setup";

  std::string WindowsDirectory() override { return windows; }
  std::string SystemDirectory() override { return system; }
  std::string ProgramFolder() override { return program; }
};

// One initialization file at `path`; every other path reads as a missing file.
class FakeProfile : public Profile {
 public:
  explicit FakeProfile(std::vector<std::string>& log) : log_(log) {}

  std::string path = "C:\\Setup\\qxSetup.ini";
  std::map<std::string, std::map<std::string, std::string>> sections;

  // Logs the lookup and cuts the value as a buffer of buffer_bytes would.
  std::string GetString(const std::string& section, const std::string& key, const std::string& file,
                        std::size_t buffer_bytes) override;

 private:
  std::vector<std::string>& log_;
};

struct ShownMessage {
  std::string text;
  MessageIcon icon;
  std::optional<std::string> title;
  // What stood on the fake disk while the person read the box.
  int open_files;
  std::size_t temporary_files;
};

// Thrown by the fake's EndProgram, so that a test can catch the end of the program.
struct ProgramEnded {
  ExitStatus status;
};

class FakeUserInterface : public UserInterface {
 public:
  FakeUserInterface(std::vector<std::string>& log, FakeFileSystem& files)
      : log_(log), files_(files) {}

  std::vector<ShownMessage> messages;
  int pumps = 0;
  // Called at every pump with its number, counted from 1: a test raises a stop here.
  std::function<void(int)> on_pump;
  // Files still open when the program ended.
  std::optional<int> open_files_at_end;

  void ShowProgressWindow() override { log_.push_back("ShowProgressWindow"); }
  void UnloadProgressWindow() override { log_.push_back("UnloadProgressWindow"); }
  void ShowMessage(const std::string& text, MessageIcon icon,
                   const std::optional<std::string>& title) override;
  void PumpEvents() override;
  [[noreturn]] void EndProgram(ExitStatus status) override;

 private:
  std::vector<std::string>& log_;
  FakeFileSystem& files_;
};

const char* FunctionName(SupportLibrary::Function function);

class FakeSupportLibrary : public SupportLibrary {
 public:
  FakeSupportLibrary(std::vector<std::string>& log, FakeFileSystem& files)
      : log_(log), files_(files) {}

  std::set<Function> unreachable;
  std::int32_t compare_result = 0;
  // Written to the out argument whatever compare_result says.
  std::int32_t comparison = 0;
  std::int32_t regist_result = 1;
  // RegistDll results for single paths, ahead of regist_result.
  std::map<std::string, std::int32_t> regist_results;

  bool Reachable(Function function) override;
  std::optional<std::int32_t> RegistDll(const std::string& path, std::int32_t flag) override;
  std::optional<std::int32_t> CompareVersion(const std::string& source,
                                             const std::string& destination,
                                             std::int32_t& comparison_out) override;
  // Gives the destination the source's stamp, as the real library does.
  bool CopyFileDateTime(const std::string& destination, const std::string& source) override;

 private:
  std::vector<std::string>& log_;
  FakeFileSystem& files_;
};

// A whole fake platform. Every call of its parts is appended, in order, to one log.
class FakePlatform {
 public:
  std::vector<std::string> log;
  FakeDirectories directories;
  FakeProfile profile{log};
  FakeFileSystem files{log};
  FakeUserInterface ui{log, files};
  FakeSupportLibrary support{log, files};

  Platform View() { return Platform{directories, profile, files, ui, support}; }

  // The logged calls that begin with `prefix`, in order.
  std::vector<std::string> Calls(const std::string& prefix) const;
};

}  // namespace tavrel::fake
