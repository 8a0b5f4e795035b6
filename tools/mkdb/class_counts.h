// The count field of classification entries, derived from the tree as the sources define it:
// 0 for a hidden entry, otherwise 1 + the number of visible direct children (so 1 marks a
// leaf and 2 or more a branch). A child is an entry whose code extends the parent's by one
// level.
#pragma once

#include <vector>

#include "dbwriter/db_writer.h"

namespace zorel::mkdb {

int CodeDepth(const std::array<std::uint32_t, 5>& codes);
void DeriveCounts(std::vector<ClassSource>& classes, const std::vector<bool>& hidden);

}  // namespace zorel::mkdb
