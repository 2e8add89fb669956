#include "tools/tavrel-check/tests/lookup_corpus.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "platform/portable/ini_file_profile.h"

namespace tavrel {
namespace {

// Our reader against the values that GetPrivateProfileStringA gave for the same files (see
// lookup_probe.cpp, which checks the record under Wine).
TEST(LookupCorpus, OurReaderGivesTheRecordedValues) {
  const std::vector<RecordedValue> recorded = ReadRecordedValues(TAVREL_LOOKUP_VALUES);
  std::map<std::pair<std::string, std::string>, std::string> expected;
  for (const RecordedValue& value : recorded) expected[{value.name, value.key}] = value.windows_hex;

  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("tavrel-lookup-corpus-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "qxSetup.ini").string();
  IniFileProfile profile;
  std::size_t looked_up = 0;
  for (const LookupCase& lookup_case : LookupCorpus()) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << lookup_case.bytes;
    for (const std::string& key : lookup_case.keys) {
      const auto record = expected.find({lookup_case.name, key});
      ASSERT_NE(record, expected.end())
          << "no recorded value for " << lookup_case.name << " " << key;
      const std::optional<std::string> value = profile.GetString("BOOT", key, path, 1024);
      ASSERT_TRUE(value) << lookup_case.name << " " << key;
      EXPECT_EQ(Hex(*value), record->second) << lookup_case.name << " " << key;
      ++looked_up;
    }
  }
  std::filesystem::remove_all(folder);
  EXPECT_EQ(looked_up, recorded.size()) << "the record holds cases the corpus no longer has";
}

}  // namespace
}  // namespace tavrel
