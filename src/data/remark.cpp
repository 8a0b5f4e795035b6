#include "data/remark.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real store.
TRemark::TRemark(const std::string& fileName, std::int32_t recordCount)
    : fileName_(fileName), count_(recordCount) {}
TRemark::~TRemark() = default;
std::string TRemark::Get(std::int32_t) const { return {}; }
void TRemark::Set(std::int32_t, const std::string&) {}
bool TRemark::HasRemark(std::int32_t) const { return false; }
}  // namespace zorel
