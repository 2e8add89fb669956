// Prints what GetPrivateProfileStringA returns for every case of the lookup corpus, one
// "case<TAB>key<TAB>hex" line each. With --compare FILE it also compares with the recorded values
// (Wine's own where the record gives one) and exits with 1 on any difference.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/win32/win32_profile.h"
#include "tools/tavrel-check/tests/lookup_corpus.h"

int main(int argc, char** argv) {
  using namespace tavrel;
  const bool compare = argc == 3 && std::string(argv[1]) == "--compare";
  std::map<std::pair<std::string, std::string>, std::string> expected;
  if (compare) {
    for (const RecordedValue& value : ReadRecordedValues(argv[2])) {
      expected[{value.name, value.key}] =
          value.wine_hex.empty() ? value.windows_hex : value.wine_hex;
    }
    if (expected.empty()) {
      std::fprintf(stderr, "no recorded values in %s\n", argv[2]);
      return 1;
    }
  }
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "tavrel-lookup-probe";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "qxSetup.ini";
  Win32Profile profile;
  int differences = 0;
  for (const LookupCase& lookup_case : LookupCorpus()) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << lookup_case.bytes;
    for (const std::string& key : lookup_case.keys) {
      const std::string hex = Hex(profile.GetString("BOOT", key, file.string(), 1024));
      std::printf("%s\t%s\t%s\n", lookup_case.name.c_str(), key.c_str(), hex.c_str());
      if (compare && expected[{lookup_case.name, key}] != hex) {
        std::fprintf(stderr, "differs: %s %s\n", lookup_case.name.c_str(), key.c_str());
        ++differences;
      }
    }
  }
  std::filesystem::remove_all(folder);
  return differences == 0 ? 0 : 1;
}
