// tavrel-check [--json] [--windir DIR] [--sysdir DIR] [FOLDER]: what FOLDER\qxSetup.ini makes the
// installer do, and what in it is probably not what its author meant.
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
