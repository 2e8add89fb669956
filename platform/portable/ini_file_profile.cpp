#include "platform/portable/ini_file_profile.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/portable/cp932_text.h"
#include "text/cp932_bytes.h"
#include "text/utf8.h"

namespace tavrel {

namespace {

// The longest start of a UTF-8 text that takes at most max_units UTF-16 units, in whole
// characters.
std::string_view CutUtf16(std::string_view text, std::size_t max_units) {
  std::size_t end = 0;
  for (std::size_t units = 0; end < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, end);
    units += length == 4 ? 2 : 1;
    if (units > max_units) break;
    end += length;
  }
  return text.substr(0, end);
}

}  // namespace

std::optional<std::string> IniFileProfile::GetString(const std::string& section,
                                                     const std::string& key,
                                                     const std::string& path,
                                                     std::size_t buffer_bytes) {
  const Cache* cache = Load(path);
  if (buffer_bytes == 0) return std::nullopt;
  if (cache == nullptr) return std::string();
  const IniLine* line = cache->index.Find(section, key);
  if (line == nullptr || !line->value) return std::string();
  // A NUL in the file ends the value, as it ends the text that the lookup copies.
  const std::string_view written =
      std::string_view(*line->value).substr(0, line->value->find('\0'));
  const std::string_view value = StripEnclosingQuotes(written);
  if (cache->text.encoding == IniEncoding::kAnsi) {
    return Cp932ToUtf8(CutCp932(value, buffer_bytes - 1));
  }
  const std::string ansi = Utf8ToCp932(value);
  // A Unicode value that code page 932 cannot hold comes back as the file holds it, cut as the W
  // function cuts it, as Win32Profile gives it: a name then fails instead of naming a look-alike.
  if (Cp932ToUtf8(ansi) != value) return std::string(CutUtf16(value, buffer_bytes - 1));
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
