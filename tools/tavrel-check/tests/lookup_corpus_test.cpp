#include <gtest/gtest.h>

#include "description/setup_description.h"
#include "platform/portable/ini_file_profile.h"
#include "tools/tavrel-check/tests/test_data.h"

namespace tavrel {
namespace {

// Our reader against what GetPrivateProfileStringA gives for the same files (lookup_probe checks
// the record under Wine). Every file goes to the same path, so each is also a change that the
// reader must notice.
TEST(LookupCorpus, OurReaderGivesWhatWindowsGives) {
  const std::vector<CorpusFile> corpus =
      ReadLookupCorpus(TAVREL_TEST_DATA "/corpus/lookup_values.txt");
  ASSERT_GT(corpus.size(), 10u);
  TempFolder folder;
  IniFileProfile profile;
  for (const CorpusFile& file : corpus) {
    const std::string path = folder.Write("qxSetup.ini", file.bytes);
    for (const CorpusFile::Lookup& lookup : file.lookups) {
      EXPECT_EQ(ReadSetupValue(profile, path, "BOOT", lookup.key), lookup.windows)
          << file.name << " " << lookup.key;
    }
  }
}

}  // namespace
}  // namespace tavrel
