#include "tools/tavrel-check/findings.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "engine/fields.h"
#include "text/ini_lines.h"
#include "text/utf8.h"
#include "tools/tavrel-check/payload_findings.h"
#include "tools/tavrel-check/windows_paths.h"

namespace tavrel {

namespace {

constexpr char kSeparator = ',';

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The last `count` characters of a UTF-8 text.
std::string LastCharacters(std::string_view text, std::size_t count) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); at += Utf8SequenceLength(text, at))
    starts.push_back(at);
  return std::string(starts.size() <= count ? text : text.substr(starts[starts.size() - count]));
}

void CheckFile(const CheckInput& input, std::vector<Finding>& out) {
  if (input.encoding) {
    out.push_back({Code::kEncoding,
                   static_cast<int>(input.encoding->kind),
                   std::nullopt,
                   {std::to_string(input.encoding->line)}});
  }
  if (!input.scan.has_boot_section) out.push_back({Code::kNoBootSection, 0, std::nullopt, {}});
}

void CheckEntry(const CheckInput& input, const PlannedEntry& planned, std::vector<Finding>& out) {
  const InstallEntry& entry = planned.entry;
  const std::string_view value = planned.value;
  if (entry.source_name.empty()) out.push_back({Code::kEmptySource, 0, planned.n, {}});
  if (!input.source_exists(entry.source_name)) {
    out.push_back({Code::kMissingSource, 0, planned.n, {entry.source_name}});
  }

  const std::string folder_field = GetField(value, 3, kSeparator);
  // With empty directories a keyword only shortens the field, so any change means it matched.
  const bool expanded = ExpandFolderMacro(folder_field, "", "") != folder_field;
  const std::string_view spelled = TrimSpaces(folder_field);
  for (std::string_view keyword : {"$WIN", "$SYSTEM"}) {
    if (!expanded && SameIniName(spelled.substr(0, keyword.size()), keyword)) {
      out.push_back({Code::kKeywordCase, 0, planned.n, {folder_field, std::string(keyword)}});
      break;
    }
  }
  if (folder_field.empty()) {
    out.push_back({Code::kRelativeFolder, 1, planned.n, {entry.destination_path}});
  } else if (!IsAbsoluteWindowsPath(entry.folder)) {
    out.push_back({Code::kRelativeFolder, 0, planned.n, {entry.folder}});
  }

  const std::string regist_field = GetField(value, 4, kSeparator);
  if (!entry.regist && SameIniName(TrimSpaces(regist_field), "REGIST")) {
    out.push_back({Code::kRegistNearMiss, 0, planned.n, {regist_field}});
  }
  if (std::count(value.begin(), value.end(), kSeparator) >= 4) {
    std::size_t fourth = value.find(kSeparator);
    for (int i = 1; i < 4; ++i) fourth = value.find(kSeparator, fourth + 1);
    out.push_back({Code::kExtraFields, 0, planned.n, {std::string(value.substr(fourth + 1))}});
  }
  if (planned.value != planned.uncut_value) {
    const auto field = 1 + std::count(value.begin(), value.end(), kSeparator);
    out.push_back(
        {Code::kTooLong, 0, planned.n, {std::to_string(field), LastCharacters(value, 16)}});
  }
}

void CheckKeys(const CheckInput& input, std::vector<Finding>& out) {
  const int walked = static_cast<int>(input.plan.size());
  const int stop = walked < kLastEntry ? walked + 1 : kLastEntry + 1;
  const bool stop_key_written =
      std::any_of(input.scan.boot_keys.begin(), input.scan.boot_keys.end(),
                  [&](const ScannedKey& key) { return key.entry == stop; });
  std::unordered_map<std::string, int> first_lines;
  for (const ScannedKey& key : input.scan.boot_keys) {
    const auto [first, is_first] = first_lines.emplace(FoldIniName(key.name), key.line);
    if (!is_first) {
      out.push_back({Code::kDuplicateKey,
                     0,
                     key.entry,
                     {key.name, std::to_string(key.line), std::to_string(first->second)}});
      continue;
    }
    if (!key.entry) {
      out.push_back({Code::kUnreadKey, 0, std::nullopt, {key.name, std::to_string(key.line)}});
    } else if (*key.entry > stop) {
      out.push_back(
          {Code::kAfterGap, stop_key_written ? 1 : 0, key.entry, {key.name, EntryKey(stop)}});
    }
  }
  for (const ScannedKey& key : input.scan.shadowed_keys) {
    out.push_back({Code::kUnreadKey, 1, std::nullopt, {key.name, std::to_string(key.line)}});
  }
}

}  // namespace

std::string_view CodeName(Code code) {
  switch (code) {
    case Code::kNoBootSection:
      return "no-boot-section";
    case Code::kAfterGap:
      return "after-gap";
    case Code::kUnreadKey:
      return "unread-key";
    case Code::kDuplicateKey:
      return "duplicate-key";
    case Code::kKeywordCase:
      return "keyword-case";
    case Code::kRegistNearMiss:
      return "regist-near-miss";
    case Code::kExtraFields:
      return "extra-fields";
    case Code::kTooLong:
      return "too-long";
    case Code::kEncoding:
      return "encoding";
    case Code::kEmptySource:
      return "empty-source";
    case Code::kMissingSource:
      return "missing-source";
    case Code::kRelativeFolder:
      return "relative-folder";
    case Code::kOtherMachine:
      return "other-machine";
    case Code::kNotRegistrable:
      return "not-registrable";
    case Code::kImportLater:
      return "import-later";
    case Code::kImportMissing:
      return "import-missing";
    case Code::kSameDestination:
      return "same-destination";
    case Code::kRegistFixedFolder:
      return "regist-fixed-folder";
    case Code::kNoVersion:
      return "no-version";
  }
  return "";
}

bool IsNote(Code code) { return code == Code::kNoVersion; }

std::vector<Finding> CheckDescription(const CheckInput& input) {
  std::vector<Finding> findings;
  CheckFile(input, findings);
  const PayloadIndex payload(input.plan);
  for (std::size_t i = 0; i < input.plan.size(); ++i) {
    CheckEntry(input, input.plan[i], findings);
    CheckPayload(input, payload, i, findings);
  }
  CheckKeys(input, findings);
  return findings;
}

}  // namespace tavrel
