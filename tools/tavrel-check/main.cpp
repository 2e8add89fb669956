// tavrel-check [--json] [--windir DIR] [--sysdir DIR] [FOLDER]: what FOLDER\qxSetup.ini makes the
// installer do, and what in it is probably not what its author meant. --help and --version print
// to standard output and succeed; a wrong command line gets the usage on standard error.
#include <memory>

#include "tools/tavrel-check/check_command.h"
#include "tools/tavrel-check/host.h"

int main(int argc, char** argv) {
  using namespace tavrel;
  const Language language = UserLanguage();
  const std::optional<CheckOptions> options = ParseArguments(CommandArguments(argc, argv));
  if (!options) {
    WriteText(std::string(WordsFor(language).usage) + "\n", true);
    return static_cast<int>(CheckStatus::kNoDescription);
  }
  if (options->request == CheckOptions::Request::kHelp) {
    WriteText(std::string(WordsFor(language).usage) + "\n", false);
    return 0;
  }
  if (options->request == CheckOptions::Request::kVersion) {
    // The project's version, from CMake.
    WriteText("tavrel-check " TAVREL_VERSION "\n", false);
    return 0;
  }
  const std::unique_ptr<Profile> profile = MakeProfile();
  const CheckOutput output = RunCheck(*options, CheckHost{
                                                    .profile = *profile,
                                                    .win_dir = DefaultWindowsDirectory(),
                                                    .sys_dir = DefaultSystemDirectory(),
                                                    .language = language,
                                                    .ansi_to_utf8 = AnsiToUtf8Text,
                                                });
  WriteText(output.out, false);
  WriteText(output.error, true);
  return static_cast<int>(output.status);
}
