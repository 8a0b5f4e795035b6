#include "data/item_scan.h"

#include "data/data_module.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real scan.
ItemScanResult ScanItemNames(Tdm&, const std::vector<std::string>&) { return {}; }
}  // namespace zorel
