#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "engine/module1.h"
#include "platform/win32/win32_directories.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_support_library.h"
#include "ui/win32_user_interface.h"

namespace tavrel::bench {

// A conversion of the bench's own texts, which always converts; should one not, the bench ends.
template <class Text>
Text Converted(std::optional<Text> text) {
  if (!text) {
    std::fputs("tavrel_bench: a text does not convert\n", stderr);
    std::exit(1);
  }
  return *std::move(text);
}

// The program's own user interface, with the progress window shown so that the pump has a real
// window to serve, except that a message box would wait for a press that never comes: the bench
// prints the message and ends instead.
class BenchUserInterface : public Win32UserInterface {
 public:
  void ShowMessage(const std::string& text, MessageIcon icon,
                   const std::optional<std::string>& title) override;
};

// The real Windows platform layer and an engine over it. VOLSTRAK.dll is loaded from the bench
// program's folder, as Tavrel.exe loads it from its own.
struct BenchPlatform {
  BenchPlatform();

  Win32Directories directories;
  Win32Profile profile;
  Win32FileSystem files;
  BenchUserInterface ui;
  Win32SupportLibrary support{directories};
  Module1 engine{Platform{directories, profile, files, ui, support}};
};

}  // namespace tavrel::bench
