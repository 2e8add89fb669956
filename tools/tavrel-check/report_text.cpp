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
  const auto list = [&](std::string_view title, bool notes) {
    std::string lines;
    int count = 0;
    for (const Finding& finding : report.findings) {
      if (IsNote(finding.code) != notes) continue;
      ++count;
      lines.append("  [").append(CodeName(finding.code)).append("]");
      if (finding.n) lines.append(" Copy").append(std::to_string(*finding.n)).append(":");
      lines.append(" ").append(DescribeFinding(finding, language)).append("\n");
    }
    if (count == 0) return notes ? std::string() : std::string(words.no_warnings) + "\n";
    return std::string(title) + ": " + std::to_string(count) + "\n" + lines;
  };
  return text + list(words.warnings, false) + list(words.notes, true);
}

}  // namespace tavrel
