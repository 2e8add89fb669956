#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// A fresh folder under %TEMP% with a Japanese name, removed with its contents afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

 private:
  std::string path_;
};

// Writes bytes to a new or truncated file; the test fails when it cannot.
void WriteBytes(const std::string& path, std::string_view bytes);

// The file's whole contents; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace tavrel
