#pragma once

#include <windows.h>

#include <filesystem>

namespace tavrel::e2e {

// A file that the driver holds open without sharing, as another program might. Wine enforces
// sharing modes between the processes of one prefix, so while it is held the program can neither
// open it nor put another file in its place.
class HeldFile {
 public:
  // Throws when the file cannot be opened.
  explicit HeldFile(const std::filesystem::path& file);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace tavrel::e2e
