#include "tests/e2e/driver/call_log.h"

#include <fstream>
#include <sstream>

namespace tavrel::e2e {

std::vector<LoggedCall> ReadCallLog(const std::filesystem::path& log) {
  std::vector<LoggedCall> calls;
  std::ifstream in(log, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    LoggedCall call;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '|');) call.push_back(field);
    calls.push_back(call);
  }
  return calls;
}

bool CallMatches(const LoggedCall& call, const LoggedCall& pattern) {
  if (call.size() != pattern.size()) return false;
  for (size_t i = 0; i < call.size(); ++i) {
    if (pattern[i] != "*" && pattern[i] != call[i]) return false;
  }
  return true;
}

}  // namespace tavrel::e2e
