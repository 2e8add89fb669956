#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tavrel {

// The result of CopyIfNewer. The run goes on only after a result above 0.
using CopyResult = std::int16_t;
inline constexpr CopyResult kCopyFailed = 0;  // the person has been told
inline constexpr CopyResult kCopied = 1;
inline constexpr CopyResult kUpToDate = 2;      // the destination was left untouched
inline constexpr CopyResult kCopyStopped = -1;  // at a stop request

// The setup engine: one setup run from the OK button to the end of the program.
class Module1 {
 public:
  explicit Module1(Platform platform) : platform_(platform) {}

  // Carries out a whole setup run, then ends the program; every path through it ends it.
  [[noreturn]] void RunSetup();

  // Walks the description's entries, copying and registering each; ends the program itself when
  // a copy fails or is stopped.
  void InstallList();

  // Installs one file unless the destination is at least as new; tells the person of every
  // failure before it returns.
  CopyResult CopyIfNewer(const std::string& source, const std::string& destination);

  // True from the start of RunSetup to the end of the program: OK then starts nothing, and
  // Cancel asks for a stop instead of ending the program.
  bool Running() const { return running_; }

  // Asks the run to stop at its next stop point; the program then ends with kStopped.
  void RequestStop() { StopFlag = true; }

  // Set at the start of a run and read until the program ends.
  std::string WinDir;
  std::string SysDir;
  std::string AppPath;
  std::string IniPath;
  bool StopFlag = false;

 private:
  // The folder of the last destination and its hold, kept while the destinations stay in it.
  DestinationFolder* HoldFolderOf(const std::string& destination);

  Platform platform_;
  bool running_ = false;
  std::string held_folder_path_;
  std::unique_ptr<DestinationFolder> held_folder_;
};

}  // namespace tavrel
