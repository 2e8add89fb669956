#include "support/volstrak/file_version.h"

#include "image/pe_headers.h"
#include "image/version_resource.h"
#include "support/volstrak/file_bytes.h"

namespace tavrel::volstrak {

// Read from the file with a few plain reads rather than through version.dll or the loader: a
// walk compares thousands of files.
std::optional<std::uint64_t> ReadFileVersion(const std::wstring& path) {
  const std::optional<FileBytes> file = FileBytes::Open(path);
  const std::optional<PeHeaders> headers = file ? ReadPeHeaders(*file) : std::nullopt;
  if (!headers) return std::nullopt;
  return ReadFixedFileVersion(*file, *headers);
}

}  // namespace tavrel::volstrak
