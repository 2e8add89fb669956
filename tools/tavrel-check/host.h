#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "tools/tavrel-check/messages.h"

namespace tavrel {

// What differs between the checker on Windows and elsewhere; one source file for each.

// The real description lookup: GetPrivateProfileStringA on Windows, our own reader elsewhere.
std::unique_ptr<Profile> MakeProfile();

// The real directories on Windows; "C:\Windows" and "C:\Windows\system32" elsewhere.
std::string DefaultWindowsDirectory();
std::string DefaultSystemDirectory();

// Japanese when the user's language is Japanese, English otherwise.
Language UserLanguage();

// A name from a description in the ANSI code page, as UTF-8.
std::string AnsiToUtf8Text(std::string_view ansi);

// The command line after the program name, as UTF-8.
std::vector<std::string> CommandArguments(int argc, char** argv);

// Writes UTF-8 text to standard output or standard error, so that a console shows it and a
// file or pipe receives the bytes as they are.
void WriteText(const std::string& text, bool to_error);

}  // namespace tavrel
