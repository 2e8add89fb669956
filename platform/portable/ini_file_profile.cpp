#include "platform/portable/ini_file_profile.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/portable/cp932_text.h"
#include "text/cp932_bytes.h"

namespace tavrel {

std::optional<std::string> IniFileProfile::GetString(const std::string& section,
                                                     const std::string& key,
                                                     const std::string& path,
                                                     std::size_t buffer_bytes) {
  const Cache* cache = Load(path);
  if (cache == nullptr || buffer_bytes == 0) return std::string();
  const IniLine* line = cache->index.Find(section, key);
  if (line == nullptr || !line->value) return std::string();
  // A NUL in the file ends the value, as it ends the text that the lookup copies.
  const std::string_view written =
      std::string_view(*line->value).substr(0, line->value->find('\0'));
  const std::string_view value = StripEnclosingQuotes(written);
  const std::string ansi =
      cache->text.encoding == IniEncoding::kAnsi ? std::string(value) : Utf8ToCp932(value);
  return Cp932ToUtf8(CutCp932(ansi, buffer_bytes - 1));
}

const IniFileProfile::Cache* IniFileProfile::Load(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return nullptr;
  // Each call clears `error` when it succeeds, so each is checked before the next.
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return nullptr;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return nullptr;
  if (cache_ && cache_->path == path && cache_->size == size && cache_->time == time) {
    return cache_.get();
  }
  cache_.reset();
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return nullptr;
  cache_ = std::make_unique<Cache>(path, size, time, ParseIniFile(bytes));
  return cache_.get();
}

}  // namespace tavrel
