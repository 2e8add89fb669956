#pragma once

// A scenario as tests/e2e/README.md describes its file: what lies where before the runs, and each
// run's action and what must follow. Paths and texts keep their places ({app}, {dest}, ...), which
// the player fills in.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::e2e {

struct LaidFile {
  std::string path;
  std::string kind;  // fixture, bytes, zeros, text
  std::string value;
  std::uint64_t size = 0;
  int day = 1;
  DWORD attributes = 0;
};

struct Message {
  bool warning = false;
  std::string title;
  std::string text;
};

struct FileAfter {
  std::string path;
  std::string state;  // copy-of, untouched, absent, exists
  std::string source;
  DWORD attributes = 0;
};

struct Control {
  int id = 0;
  std::string class_name;
  RECT at_96_dpi{};  // left, top, width, height
  std::string text;
};

struct WindowLook {
  std::string name;  // Form1 or frmWait
  SIZE client_at_96_dpi{};
  std::vector<std::string> traits;  // fixed, captionless, tool
  int focus = 0;
  std::string title;
  std::vector<Control> controls;
};

struct Run {
  std::string action;  // ok, cancel, close, or mid-copy followed by ok, cancel, close or kill
  std::vector<Message> messages;
  std::optional<DWORD> exit_status;
  std::vector<FileAfter> after;
  std::vector<std::string> calls;     // patterns that must appear in this order; "*" any field
  std::vector<std::string> no_calls;  // functions never called
  std::vector<WindowLook> looks;
};

struct Scenario {
  std::string name;
  std::string locale = "ja_JP.UTF-8";
  std::vector<int> dpis = {96};
  std::string app = "app";
  std::string volstrak = "beside";  // beside, system, cwd, nowhere
  std::string encoding = "shift-jis";
  bool line_feeds_alone = false;
  std::optional<std::vector<std::string>> description;  // nothing: no qxSetup.ini
  bool description_is_folder = false;
  std::vector<LaidFile> files;
  std::vector<std::string> folders;
  std::vector<std::pair<std::string, bool>> holds;  // path, shared for reading and writing
  std::vector<Run> runs;
};

// Throws std::runtime_error naming the line that cannot be read.
Scenario ReadScenario(const std::filesystem::path& file);

}  // namespace tavrel::e2e
