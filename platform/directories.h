#pragma once

#include <optional>
#include <string>

namespace tavrel {

// Where Windows keeps its own files, which of them it keeps for itself, and where the program
// lies.
class Directories {
 public:
  virtual ~Directories() = default;

  // GetWindowsDirectoryA into a 260-byte buffer, cut at the first NUL. The call's result is not
  // examined: a failure gives whatever the buffer holds, normally the empty text.
  virtual std::string WindowsDirectory() = 0;

  // GetSystemDirectoryA, likewise.
  virtual std::string SystemDirectory() = 0;

  // The folder of the program file, without a trailing separator, except at the root of a drive
  // ("C:\"), where the separator is part of the name. Nothing when its name cannot be held as
  // text (a lone UTF-16 surrogate).
  virtual std::optional<std::string> ProgramFolder() = 0;

  // True when Windows Resource Protection keeps the file at `path` for the system alone
  // (SfcIsFileProtected), so that no installer may replace it; false where nothing is protected.
  virtual bool ProtectedBySystem(const std::string& path) = 0;
};

}  // namespace tavrel
