#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "tools/tavrel-check/messages.h"

namespace tavrel {

// The process's exit status.
enum class CheckStatus : int {
  kClean = 0,         // no warning
  kWarnings = 1,      // at least one warning
  kNoDescription = 2  // no description, one that cannot be read, or a wrong command line
};

struct CheckOptions {
  enum class Request { kCheck, kHelp, kVersion };
  Request request = Request::kCheck;
  bool json = false;
  std::optional<std::string> win_dir;
  std::optional<std::string> sys_dir;
  std::string folder = ".";
};

// Nothing when the arguments do not fit "[--json] [--windir DIR] [--sysdir DIR] [FOLDER]", or
// "--help" or "--version" alone.
std::optional<CheckOptions> ParseArguments(const std::vector<std::string>& arguments);

// What the checker takes from the system it runs on.
struct CheckHost {
  Profile& profile;
  std::string win_dir;  // when --windir is not given
  std::string sys_dir;  // when --sysdir is not given
  Language language;
  std::function<std::string(std::string_view)> ansi_to_utf8;
};

struct CheckOutput {
  CheckStatus status;
  std::string out;
  std::string error;
};

CheckOutput RunCheck(const CheckOptions& options, const CheckHost& host);

}  // namespace tavrel
