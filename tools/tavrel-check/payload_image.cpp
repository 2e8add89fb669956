#include "tools/tavrel-check/payload_image.h"

#include <algorithm>

#include "image/pe_headers.h"
#include "image/pe_names.h"
#include "image/version_resource.h"
#include "tools/tavrel-check/stream_bytes.h"

namespace tavrel {

std::optional<ImageFacts> ReadImageFacts(
    const std::filesystem::path& path,
    const std::function<std::string(std::string_view)>& ansi_to_utf8) {
  const std::unique_ptr<StreamBytes> file = StreamBytes::Open(path);
  const std::optional<PeHeaders> headers = file ? ReadPeHeaders(*file) : std::nullopt;
  if (!headers) return std::nullopt;
  const std::vector<std::string> exports =
      ReadExportNames(*file, *headers).value_or(std::vector<std::string>{});
  std::optional<std::vector<std::string>> imports = ReadImportNames(*file, *headers);
  if (imports) {
    for (std::string& name : *imports) name = ansi_to_utf8(name);
  }
  return ImageFacts{
      .machine = headers->machine,
      .is_dll = headers->IsDll(),
      .exports_register =
          std::find(exports.begin(), exports.end(), "DllRegisterServer") != exports.end(),
      .imports = imports.value_or(std::vector<std::string>{}),
      .imports_readable = imports.has_value(),
      .has_version = ReadFixedFileVersion(*file, *headers).has_value(),
  };
}

}  // namespace tavrel
