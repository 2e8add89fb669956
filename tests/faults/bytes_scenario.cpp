#include "tests/faults/bytes_scenario.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace tavrel::faults {

namespace {

constexpr std::array<std::string_view, 6> kFolders = {kAppPath, R"(C:\Setup\sub)",   kWinDir,
                                                      kSysDir,  R"(C:\WINDOWS\sub)", R"(C:\Fixed)"};
constexpr std::array<std::string_view, 6> kNames = {"a.dll", "b.ocx", "c.dll",
                                                    "x.dll", "sub",   "e.dll"};
constexpr std::array<FileTime, 4> kStamps = {100, 200, 300, 400};
constexpr std::size_t kMostFiles = 8;
constexpr int kMostEntries = 64;
// The size of a file stretches past 65535 to reach 70000, four chunks and more.
constexpr std::size_t kSizeStretch = 4465;

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  // 0 once the bytes are used up.
  std::uint8_t Next() { return at_ < data_.size() ? data_[at_++] : 0; }
  std::span<const std::uint8_t> Rest() const { return data_.subspan(std::min(at_, data_.size())); }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
};

std::string PathAt(std::uint8_t place) {
  return std::string(kFolders[place % kFolders.size()]) + "\\" +
         std::string(kNames[place / kFolders.size() % kNames.size()]);
}

void ReadOneFile(ByteReader& reader, Scenario& scenario) {
  const std::string path = PathAt(reader.Next());
  std::size_t size = static_cast<std::size_t>(reader.Next()) << 8;
  size |= reader.Next();
  const std::uint8_t attributes = reader.Next();
  if (attributes & 1) size += kSizeStretch;
  ScenarioFile file{.bytes = fake::PatternedBytes(size, reader.Next())};
  file.read_only = attributes & 2;
  file.hidden = attributes & 4;
  file.stamp =
      attributes & 8 ? std::nullopt : std::optional<FileTime>(kStamps[(attributes >> 4) & 3]);
  if (const int version = attributes >> 6) scenario.versions.emplace(file.bytes, version);
  scenario.files[path] = std::move(file);
}

void ReadDescription(std::span<const std::uint8_t> text, Scenario& scenario) {
  int n = 1;
  std::string line;
  for (const std::uint8_t byte : text) {
    if (byte == '\n') {
      scenario.entries[n] = line;
      line.clear();
      if (++n > kMostEntries) return;
    } else {
      // Names beginning with "~tavrel" belong to the fake's temporary files.
      line += byte == '~' ? '_' : static_cast<char>(byte);
    }
  }
  scenario.entries[n] = line;
}

}  // namespace

Scenario ScenarioFromBytes(std::span<const std::uint8_t> data) {
  ByteReader reader(data);
  Scenario scenario;
  scenario.folders.insert(kFolders.begin(), kFolders.end());
  const std::uint8_t flags = reader.Next();
  if (!(flags & 1)) scenario.files[kIniPath] = {.hidden = (flags & 2) != 0};
  if (flags & 4) scenario.unreachable.insert(SupportLibrary::Function::kRegistDll);
  if (flags & 8) scenario.unreachable.insert(SupportLibrary::Function::kCompareVersion);
  if (flags & 16) scenario.unreachable.insert(SupportLibrary::Function::kCopyFileDateTime);

  const std::uint8_t disturbance = reader.Next();
  const int count = reader.Next() + 1;
  if (disturbance < std::size(fake::kAllSteps)) {
    scenario.fault = InjectedFault{fake::kAllSteps[disturbance], count};
  } else if (disturbance == std::size(fake::kAllSteps)) {
    scenario.stop_at_pump = count;
  }

  const std::uint8_t regist_failures = reader.Next();
  for (std::uint8_t place = 0; place < kFolders.size() * kNames.size(); ++place) {
    if (regist_failures >> (place % 8) & 1) scenario.regist_results[PathAt(place)] = 0;
  }

  const std::size_t files = reader.Next() % (kMostFiles + 1);
  for (std::size_t i = 0; i < files; ++i) ReadOneFile(reader, scenario);
  ReadDescription(reader.Rest(), scenario);
  return scenario;
}

}  // namespace tavrel::faults
