// Plain forms of the searches, written from the matching rules rather than for speed: the
// matching fuzzer runs the real operations and these on the same base and compares.
// Conditions are the ones ParseConditions gives; the data module must stay open meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/conditions.h"
#include "data/data_module.h"
#include "data/item_scan.h"
#include "data/product_key.h"
#include "data/record_list.h"

namespace zorel::fuzz {

RecordList ReferenceMatchConditions(const Tdm& dm, const RecordList& list,
                                    const std::vector<Condition>& conditions);
RecordList ReferenceMatchProducts(const Tdm& dm, const RecordList& list,
                                  const std::vector<ProductKey>& keys);
ItemScanResult ReferenceScanItemNames(const Tdm& dm, const std::vector<std::string>& fragments);

}  // namespace zorel::fuzz
