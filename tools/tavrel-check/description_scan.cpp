#include "tools/tavrel-check/description_scan.h"

#include <cstddef>

#include "engine/install_entry.h"

namespace tavrel {

std::optional<int> EntryNumber(std::string_view key_name) {
  constexpr std::string_view kPrefix = "Copy";
  if (key_name.size() <= kPrefix.size() ||
      !SameIniName(key_name.substr(0, kPrefix.size()), kPrefix)) {
    return std::nullopt;
  }
  const std::string_view digits = key_name.substr(kPrefix.size());
  if (digits.size() > 5 || digits.front() == '0') return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n > kLastEntry) return std::nullopt;
  return n;
}

DescriptionScan ScanDescription(const IniText& text,
                                const std::function<std::string(std::string_view)>& ansi_to_utf8) {
  DescriptionScan scan;
  enum class Where { kElsewhere, kFirstBoot, kLaterBoot } where = Where::kElsewhere;
  for (const IniLine& line : text.lines) {
    if (line.kind == IniLine::Kind::kSection) {
      const bool boot = SameIniName(line.name, "BOOT");
      where = !boot                   ? Where::kElsewhere
              : scan.has_boot_section ? Where::kLaterBoot
                                      : Where::kFirstBoot;
      scan.has_boot_section = scan.has_boot_section || boot;
      continue;
    }
    // The lookup has no comments, but nobody means these lines as keys.
    if (line.name.starts_with(';') || line.name.starts_with('#')) continue;
    const ScannedKey key{text.encoding == IniEncoding::kAnsi ? ansi_to_utf8(line.name) : line.name,
                         line.number, EntryNumber(line.name)};
    if (where == Where::kFirstBoot) scan.boot_keys.push_back(key);
    if (where == Where::kLaterBoot) scan.shadowed_keys.push_back(key);
  }
  return scan;
}

}  // namespace tavrel
