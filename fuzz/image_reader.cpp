// Any bytes read as a Windows image: every table the reader knows.
#include <cstdint>

#include "image/pe_names.h"
#include "image/version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tavrel::MemoryBytes file({reinterpret_cast<const char*>(data), size});
  if (const auto headers = tavrel::ReadPeHeaders(file)) {
    tavrel::ReadImportNames(file, *headers);
    tavrel::ReadDelayImportNames(file, *headers);
    tavrel::ReadExportNames(file, *headers);
    tavrel::ReadFixedFileVersion(file, *headers);
  }
  return 0;
}
