#include "data/data_module.h"
#include "data/errors.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real matcher.
void Tdm::MatchConditions(RecordList&, const ConditionTable&) { throw BadInput("TEMPORARY"); }
void Tdm::MatchProducts(RecordList&, const std::vector<ProductKey>&) const {
  throw BadInput("TEMPORARY");
}
}  // namespace zorel
