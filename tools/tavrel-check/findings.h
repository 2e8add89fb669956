#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tavrel-check/description_scan.h"
#include "tools/tavrel-check/encoding_check.h"
#include "tools/tavrel-check/install_plan.h"
#include "tools/tavrel-check/payload_image.h"

namespace tavrel {

// The warning codes; their names are printed and never change.
enum class Code {
  kNoBootSection,
  kAfterGap,
  kUnreadKey,
  kDuplicateKey,
  kKeywordCase,
  kRegistNearMiss,
  kExtraFields,
  kTooLong,
  kEncoding,
  kEmptySource,
  kMissingSource,
  kRelativeFolder,
  kOtherMachine,
  kNotRegistrable,
  kImportLater,
  kImportMissing,
  kSameDestination,
  kRegistFixedFolder,
  kNoVersion,  // a note: it leaves the exit status alone
};

// Notes are reported apart from warnings and do not make the check fail.
bool IsNote(Code code);

std::string_view CodeName(Code code);

// One warning, before it is put into words: the message for (code, variant) quotes args.
struct Finding {
  Code code;
  int variant;
  std::optional<int> n;  // the entry it concerns; nothing for the file as a whole
  std::vector<std::string> args;
};

struct CheckInput {
  const DescriptionScan& scan;
  const std::optional<EncodingProblem>& encoding;
  const std::vector<PlannedEntry>& plan;
  // Whether the source file is in the program folder, by the name the entry gives.
  std::function<bool(const std::string& source_name)> source_exists;
  // The source file as a Windows image; nothing when it is none or cannot be read.
  std::function<std::optional<ImageFacts>(const std::string& source_name)> image_facts;
  std::string win_dir;
  std::string sys_dir;
  // The machine of the installer the entries are checked for: the package's own Tavrel.exe.
  std::uint16_t installer_machine;
};

// Every check on every entry; whole-file findings first, then by entry, then by key.
std::vector<Finding> CheckDescription(const CheckInput& input);

}  // namespace tavrel
