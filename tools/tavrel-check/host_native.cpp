#include <cstdio>
#include <cstdlib>

#include "platform/portable/cp932_text.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/host.h"

namespace tavrel {

std::unique_ptr<Profile> MakeProfile() { return std::make_unique<IniFileProfile>(); }

std::string DefaultWindowsDirectory() { return "C:\\Windows"; }

std::string DefaultSystemDirectory() { return "C:\\Windows\\system32"; }

Language UserLanguage() {
  // The first of these that is set decides, as for every other message catalogue.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return std::string_view(value).starts_with("ja") ? Language::kJapanese : Language::kEnglish;
    }
  }
  return Language::kEnglish;
}

std::string AnsiToUtf8Text(std::string_view ansi) { return Cp932ToUtf8(ansi); }

std::vector<std::string> CommandArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteText(const std::string& text, bool to_error) {
  std::fwrite(text.data(), 1, text.size(), to_error ? stderr : stdout);
}

}  // namespace tavrel
