// The two filtering operations behind every search, over the records of a data module.
// Conditions are parsed and checked once per call; per record the matcher reads fields
// straight from the record's bytes and stops at the first failing condition.
#pragma once

#include <vector>

#include "data/conditions.h"
#include "data/product_key.h"
#include "data/record_list.h"

namespace zorel {

class Tdm;

// Keeps the records that satisfy every condition, in order; the list is untouched when all
// pass. Throws BadInput, before reading any record, for a bad table.
void MatchConditions(const Tdm& dm, RecordList& list, const ConditionTable& table);
// Keeps the records that reference at least one of the keys, in order.
void MatchProducts(const Tdm& dm, RecordList& list, const std::vector<ProductKey>& keys);

}  // namespace zorel
