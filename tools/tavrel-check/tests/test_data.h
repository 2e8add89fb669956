#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// Text of the tests' data files: "\r", "\n", "\t", "\0", "\\", "\{" and "\xNN" stand for one
// byte each, and "{N:TEXT}" for TEXT written N times.
std::string Unescape(std::string_view text);

// The tab-separated rows of a data file, without blank lines and "#" comments.
std::vector<std::vector<std::string>> ReadRows(const std::string& path);

// A folder of its own under the temporary folder, removed with what it holds.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // relative: UTF-8, "/" between folders.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// One file of the lookup corpus (corpus/lookup_values.txt) and what the lookup of BOOT's keys in
// it gives, through a 1024-byte buffer, as UTF-8.
struct CorpusFile {
  struct Lookup {
    std::string key;
    std::string windows;
    std::optional<std::string> wine;  // where Wine reads the file otherwise
  };
  std::string name;
  std::string bytes;
  std::vector<Lookup> lookups;
};

std::vector<CorpusFile> ReadLookupCorpus(const std::string& path);

}  // namespace tavrel
