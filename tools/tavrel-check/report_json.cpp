#include <cstdio>

#include "tools/tavrel-check/report.h"

namespace tavrel {

namespace {

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string RenderJson(const Report& report, Language language) {
  std::string json = "{\"description\": " + Quoted(report.description_path) + ", \"entries\": [";
  for (std::size_t i = 0; i < report.plan.size(); ++i) {
    const PlannedEntry& planned = report.plan[i];
    json += (i ? ", " : "") + std::string("{\"n\": ") + std::to_string(planned.n) +
            ", \"source_name\": " + Quoted(planned.entry.source_name) +
            ", \"source\": " + Quoted(planned.entry.source_path) +
            ", \"destination\": " + Quoted(planned.entry.destination_path) +
            ", \"register\": " + (planned.entry.regist ? "true" : "false") + "}";
  }
  for (const bool notes : {false, true}) {
    json += notes ? "], \"notes\": [" : "], \"warnings\": [";
    bool first = true;
    for (const Finding& finding : report.findings) {
      if (IsNote(finding.code) != notes) continue;
      json += (first ? "" : ", ") + std::string("{\"code\": ") + Quoted(CodeName(finding.code));
      if (finding.n) json += ", \"n\": " + std::to_string(*finding.n);
      json += ", \"message\": " + Quoted(DescribeFinding(finding, language)) + "}";
      first = false;
    }
  }
  return json + "]}\n";
}

}  // namespace tavrel
