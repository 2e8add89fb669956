#pragma once

#include <string>
#include <vector>

namespace tavrel {

// Descriptions that a lookup of our own must read exactly as GetPrivateProfileStringA does.
// Each case is one file; its keys are looked up in the section BOOT with a 1024-byte buffer.
struct LookupCase {
  std::string name;
  std::string bytes;
  std::vector<std::string> keys;
};

std::vector<LookupCase> LookupCorpus();

// One line of the recorded values: "case<TAB>key<TAB>hex of the UTF-8 value", then, where Wine
// is known to read a file otherwise than Windows, "<TAB>wine=<hex>".
struct RecordedValue {
  std::string name;
  std::string key;
  std::string windows_hex;
  std::string wine_hex;  // empty when Wine agrees
};

std::vector<RecordedValue> ReadRecordedValues(const std::string& path);

std::string Hex(const std::string& bytes);

}  // namespace tavrel
