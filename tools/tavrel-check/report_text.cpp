#include <algorithm>

#include "tools/tavrel-check/report.h"

namespace tavrel {

std::string RenderText(const Report& report, Language language) {
  const ReportWords& words = WordsFor(language);
  std::string text;
  text.append(words.description).append(": ").append(report.description_path).append("\n");
  text.append(words.entries).append(": ").append(std::to_string(report.plan.size())).append("\n");
  for (const PlannedEntry& planned : report.plan) {
    std::string number = std::to_string(planned.n);
    number.resize(std::max<std::size_t>(number.size(), 5), ' ');
    text.append("  ").append(number).append(" ").append(planned.entry.source_path).append("\n");
    text.append("        -> ").append(planned.entry.destination_path);
    if (planned.entry.regist) text.append("  (").append(words.registered).append(")");
    text.append("\n");
  }
  if (report.findings.empty()) return text.append(words.no_warnings).append("\n");
  text.append(words.warnings)
      .append(": ")
      .append(std::to_string(report.findings.size()))
      .append("\n");
  for (const Finding& finding : report.findings) {
    text.append("  [").append(CodeName(finding.code)).append("]");
    if (finding.n) text.append(" Copy").append(std::to_string(*finding.n)).append(":");
    text.append(" ").append(DescribeFinding(finding, language)).append("\n");
  }
  return text;
}

}  // namespace tavrel
