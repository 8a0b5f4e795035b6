// The item-name scan of the product search: a plain pass over item.dat, lower-casing each name
// into one reused buffer.
#include "data/item_scan.h"

#include <algorithm>

#include "data/data_module.h"
#include "data/text1251.h"

namespace zorel {

ItemScanResult ScanItemNames(Tdm& dm, const std::vector<std::string>& fragments) {
  ItemScanResult result;
  std::vector<std::string> terms;
  for (const std::string& f : fragments) {
    if (!f.empty()) terms.push_back(Lower1251(f));
  }
  if (terms.empty()) return result;

  const std::uint8_t* lower = LowerTable();
  std::string name;
  const std::int32_t count = dm.ItemCount();
  for (std::int32_t item = 0; item < count; ++item) {
    const std::string_view stored = dm.ItemName(item);
    if (stored.empty() || IsScanCapital(static_cast<std::uint8_t>(stored.front()))) continue;
    name.resize(stored.size());
    std::transform(stored.begin(), stored.end(), name.begin(), [lower](char c) {
      return static_cast<char>(lower[static_cast<std::uint8_t>(c)]);
    });
    const bool found = std::any_of(terms.begin(), terms.end(), [&](const std::string& t) {
      return name.find(t) != std::string::npos;
    });
    if (!found) continue;
    result.items.push_back(item);
    // Later matches would not be listed, so the rest of the scan could change nothing.
    if (result.items.size() == static_cast<std::size_t>(kItemScanLimit)) {
      result.limitReached = true;
      break;
    }
  }
  return result;
}

}  // namespace zorel
