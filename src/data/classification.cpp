#include "data/classification.h"

#include "data/data_module.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real classification.
std::vector<ClassChild> ExpandNode(Tdm&, const TClassInfo&, const ScanProgress&) { return {}; }
bool InSubtree(const std::array<std::uint32_t, 5>&, const ClassEntry&) { return false; }
std::vector<ProductKey> BuildKeyList(Tdm&, const std::vector<TClassInfo>&, const ScanProgress&) {
  return {};
}
std::optional<TClassInfo> FindNode(Tdm&, const std::array<std::uint32_t, 5>&) { return {}; }
}  // namespace zorel
