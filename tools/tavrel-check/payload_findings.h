#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/tavrel-check/findings.h"

namespace tavrel {

// Which entries install into each destination, as Windows reads the paths.
class PayloadIndex {
 public:
  explicit PayloadIndex(const std::vector<PlannedEntry>& plan);

  // The positions in the plan of the entries whose destination is `path`, in plan order.
  const std::vector<std::size_t>& EntriesAt(const std::string& path) const;

 private:
  std::unordered_map<std::string, std::vector<std::size_t>> entries_;
};

// What the files of the entry at `index` of the plan will do on the target machine: the
// machine they are built for, their registration and its imports, their version, and a
// destination that an earlier entry already takes.
void CheckPayload(const CheckInput& input, const PayloadIndex& index, std::size_t at,
                  std::vector<Finding>& out);

}  // namespace tavrel
