#include "tools/tavrel-check/check_command.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "image/pe_headers.h"
#include "text/ini_lines.h"
#include "tools/tavrel-check/description_scan.h"
#include "tools/tavrel-check/encoding_check.h"
#include "tools/tavrel-check/findings.h"
#include "tools/tavrel-check/install_plan.h"
#include "tools/tavrel-check/payload_image.h"
#include "tools/tavrel-check/report.h"
#include "tools/tavrel-check/source_lookup.h"

namespace tavrel {

namespace {

constexpr char kDescriptionName[] = "qxSetup.ini";
constexpr char kInstallerName[] = "Tavrel.exe";

// The folder as the installer would know it: absolute, without a trailing separator.
std::filesystem::path ProgramFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path =
      std::filesystem::absolute(PathFromUtf8(folder), error).lexically_normal();
  if (path.has_filename() || path == path.root_path()) return path;
  return path.parent_path();
}

std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return bytes;
}

// The package's own installer decides which DLLs it can load. The product is the 32-bit build;
// only an x86_64 build of it beside the description says otherwise.
std::uint16_t InstallerMachine(const std::filesystem::path& folder, const CheckHost& host) {
  const std::optional<std::filesystem::path> path = FindIgnoringCase(folder, kInstallerName);
  const std::optional<ImageFacts> facts = path ? ReadImageFacts(*path, host.ansi_to_utf8)
                                               : std::nullopt;
  return facts && !facts->is_dll && facts->machine == kMachineAmd64 ? kMachineAmd64
                                                                     : kMachineI386;
}

}  // namespace

std::optional<CheckOptions> ParseArguments(const std::vector<std::string>& arguments) {
  CheckOptions options;
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "--version")) {
    options.request =
        arguments[0] == "--help" ? CheckOptions::Request::kHelp : CheckOptions::Request::kVersion;
    return options;
  }
  bool folder_given = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--json") {
      options.json = true;
    } else if ((argument == "--windir" || argument == "--sysdir") && i + 1 < arguments.size()) {
      (argument == "--windir" ? options.win_dir : options.sys_dir) = arguments[++i];
    } else if (!argument.starts_with("--") && !folder_given) {
      options.folder = argument;
      folder_given = true;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

CheckOutput RunCheck(const CheckOptions& options, const CheckHost& host) {
  const ReportWords& words = WordsFor(host.language);
  const std::filesystem::path folder = ProgramFolder(options.folder);
  const std::optional<std::filesystem::path> ini = FindIgnoringCase(folder, kDescriptionName);
  if (!ini) {
    return {CheckStatus::kNoDescription, "",
            FillIn(words.no_description, {Utf8FromPath(folder)}) + "\n"};
  }
  const std::string ini_path = Utf8FromPath(*ini);
  const std::optional<std::string> bytes = ReadBytes(*ini);
  if (!bytes) return {CheckStatus::kNoDescription, "", FillIn(words.unreadable, {ini_path}) + "\n"};

  const DescriptionScan scan = ScanDescription(ParseIniFile(*bytes), host.ansi_to_utf8);
  const std::optional<EncodingProblem> encoding = FindEncodingProblem(*bytes);
  Report report{.description_path = ini_path, .plan = {}, .findings = {}};
  const std::string win_dir = options.win_dir.value_or(host.win_dir);
  const std::string sys_dir = options.sys_dir.value_or(host.sys_dir);
  report.plan = PlanInstall(host.profile, PlanPaths{
                                              .ini_path = ini_path,
                                              .app_path = Utf8FromPath(folder),
                                              .win_dir = win_dir,
                                              .sys_dir = sys_dir,
                                          });
  report.findings = CheckDescription(CheckInput{
      .scan = scan,
      .encoding = encoding,
      .plan = report.plan,
      .source_exists =
          [&](const std::string& name) { return FindIgnoringCase(folder, name).has_value(); },
      .image_facts =
          [&](const std::string& name) {
            const std::optional<std::filesystem::path> path = FindIgnoringCase(folder, name);
            return path ? ReadImageFacts(*path, host.ansi_to_utf8) : std::nullopt;
          },
      .win_dir = win_dir,
      .sys_dir = sys_dir,
      .installer_machine = InstallerMachine(folder, host),
  });
  const bool warned = std::any_of(report.findings.begin(), report.findings.end(),
                                  [](const Finding& finding) { return !IsNote(finding.code); });
  const CheckStatus status = warned ? CheckStatus::kWarnings : CheckStatus::kClean;
  return {status,
          options.json ? RenderJson(report, host.language) : RenderText(report, host.language), ""};
}

}  // namespace tavrel
