// Checks the lookup corpus against the real GetPrivateProfileStringA (Wine's own value where the
// record gives one) and prints every lookup that differs, with what the function gave.
//   lookup_probe FILE   exit status 1 on any difference
#include <cstdio>
#include <string>

#include "description/setup_description.h"
#include "platform/win32/win32_profile.h"
#include "tools/tavrel-check/tests/test_data.h"

int main(int argc, char** argv) {
  using namespace tavrel;
  const std::vector<CorpusFile> corpus = ReadLookupCorpus(argc == 2 ? argv[1] : "");
  if (corpus.empty()) {
    std::fprintf(stderr, "usage: lookup_probe FILE (a lookup corpus)\n");
    return 1;
  }
  TempFolder folder;
  Win32Profile profile;
  int differences = 0;
  for (const CorpusFile& file : corpus) {
    const std::string path = folder.Write("qxSetup.ini", file.bytes);
    for (const CorpusFile::Lookup& lookup : file.lookups) {
      const std::optional<std::string> value = ReadSetupValue(profile, path, "BOOT", lookup.key);
      if (value != lookup.wine.value_or(lookup.windows)) {
        std::printf("%s %s: %s\n", file.name.c_str(), lookup.key.c_str(),
                    value ? ("\"" + *value + "\"").c_str() : "nothing");
        ++differences;
      }
    }
  }
  return differences == 0 ? 0 : 1;
}
