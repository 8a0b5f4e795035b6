// Counting visible children by parent code.
#include "mkdb/class_counts.h"

#include <algorithm>
#include <map>

namespace zorel::mkdb {

int CodeDepth(const std::array<std::uint32_t, 5>& codes) {
  int d = 0;
  while (d < 5 && codes[static_cast<std::size_t>(d)] != 0) ++d;
  return d;
}

void DeriveCounts(std::vector<ClassSource>& classes, const std::vector<bool>& hidden) {
  using Codes = std::array<std::uint32_t, 5>;
  std::map<Codes, std::uint32_t> children;
  for (std::size_t k = 0; k < classes.size(); ++k) {
    const int depth = CodeDepth(classes[k].codes);
    if (hidden[k] || depth < 2) continue;
    Codes parent = classes[k].codes;
    parent[static_cast<std::size_t>(depth - 1)] = 0;
    ++children[parent];
  }
  for (std::size_t k = 0; k < classes.size(); ++k) {
    const auto it = children.find(classes[k].codes);
    const std::uint32_t n = it == children.end() ? 0 : it->second;
    classes[k].count =
        hidden[k] ? 0 : static_cast<std::uint16_t>(std::min<std::uint32_t>(n + 1, 65535));
  }
}

}  // namespace zorel::mkdb
