#include "tests/faults/random_scenario.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavrel::faults {

namespace {

// Sizes on both sides of each chunk boundary, and beyond 65535.
constexpr std::array<std::size_t, 12> kEdgeSizes = {0,     1,     16383, 16384, 16385, 32767,
                                                    32768, 32769, 49152, 65535, 65536, 65537};
constexpr std::array<FileTime, 3> kStamps = {100, 200, 300};
constexpr std::array<std::string_view, 6> kSourceNames = {"a.dll", "b.ocx",        "c.dll",
                                                          "d.exe", R"(sub\e.dll)", "big.bin"};
constexpr std::array<std::string_view, 4> kOtherSourceFields = {"", "missing.dll", "a.dll ",
                                                                "A.DLL"};
constexpr std::array<std::string_view, 5> kDestinationNames = {"a.dll", "b.ocx", "c.dll", "x.dll",
                                                               "sub"};
// Expanded, fixed, missing and mistyped folders.
constexpr std::array<std::string_view, 10> kFolderFields = {
    "$SYSTEM", "$WIN",     R"($WIN\sub)", R"(C:\Fixed)",   "",
    "$win",    "$SYSTEMx", R"(C:\Setup)", R"(C:\Missing)", R"($WIN\)"};
constexpr std::array<std::string_view, 4> kRegistFields = {"REGIST", "regist", " REGIST",
                                                           "REGIST "};
constexpr std::array<std::string_view, 4> kDestinationFolders = {
    kWinDir, kSysDir, R"(C:\WINDOWS\sub)", R"(C:\Fixed)"};

class Draw {
 public:
  explicit Draw(std::mt19937& random) : random_(random) {}

  bool Chance(double probability) { return std::bernoulli_distribution(probability)(random_); }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  template <class Items>
  auto Pick(const Items& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }

  std::size_t Size() {
    return Chance(0.6) ? Pick(kEdgeSizes) : static_cast<std::size_t>(Between(0, 70000));
  }

  ScenarioFile File() {
    ScenarioFile file{.bytes =
                          fake::PatternedBytes(Size(), static_cast<std::uint8_t>(Between(0, 250)))};
    file.stamp = Chance(0.95) ? std::optional<FileTime>(Pick(kStamps)) : std::nullopt;
    return file;
  }

 private:
  std::mt19937& random_;
};

std::string EntryValue(Draw& draw) {
  std::vector<std::string> fields;
  fields.emplace_back(draw.Chance(0.85) ? draw.Pick(kSourceNames) : draw.Pick(kOtherSourceFields));
  fields.emplace_back(draw.Chance(0.5) ? "" : draw.Pick(kDestinationNames));
  fields.emplace_back(draw.Pick(kFolderFields));
  fields.emplace_back(draw.Chance(0.6) ? draw.Pick(kRegistFields) : "");
  if (draw.Chance(0.05)) fields.emplace_back("extra");
  // Trailing fields are left out as often as they are written empty.
  const std::size_t written =
      static_cast<std::size_t>(draw.Between(1, static_cast<int>(fields.size())));
  std::string value = fields[0];
  for (std::size_t i = 1; i < fields.size() && (i < written || !fields[i].empty()); ++i) {
    value += "," + fields[i];
  }
  return value;
}

}  // namespace

Scenario RandomScenario(std::mt19937& random) {
  Draw draw(random);
  Scenario scenario;
  scenario.folders = {kAppPath, kWinDir, kSysDir, R"(C:\WINDOWS\sub)", R"(C:\Fixed)"};
  if (draw.Chance(0.97)) scenario.files[kIniPath] = {.hidden = draw.Chance(0.01)};

  auto add_version = [&](const ScenarioFile& file) {
    if (draw.Chance(0.4)) scenario.versions.emplace(file.bytes, draw.Between(1, 3));
  };
  for (const std::string_view name : kSourceNames) {
    if (!draw.Chance(0.85)) continue;
    const ScenarioFile file = draw.File();
    scenario.files[std::string(kAppPath) + "\\" + std::string(name)] = file;
    add_version(file);
  }
  for (const std::string_view folder : kDestinationFolders) {
    for (const std::string_view name : kDestinationNames) {
      if (name == "sub" || !draw.Chance(0.2)) continue;
      ScenarioFile file = draw.File();
      file.read_only = draw.Chance(0.1);
      file.hidden = draw.Chance(0.05);
      add_version(file);
      scenario.files[std::string(folder) + "\\" + std::string(name)] = file;
    }
  }

  const int entries = draw.Between(0, 6);
  for (int n = 1; n <= entries; ++n) {
    if (draw.Chance(0.05)) continue;  // a gap ends the walk
    scenario.entries[n] = draw.Chance(0.03) ? "" : EntryValue(draw);
  }
  for (const std::string_view folder : kDestinationFolders) {
    for (const std::string_view name : kDestinationNames) {
      if (draw.Chance(0.15)) {
        scenario.regist_results[std::string(folder) + "\\" + std::string(name)] = 0;
      }
    }
  }
  for (const auto function :
       {SupportLibrary::Function::kRegistDll, SupportLibrary::Function::kCompareVersion,
        SupportLibrary::Function::kCopyFileDateTime}) {
    if (draw.Chance(0.03)) scenario.unreachable.insert(function);
  }
  return scenario;
}

}  // namespace tavrel::faults
