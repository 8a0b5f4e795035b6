// The item-name scan of the product search: which item names contain one of the fragments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorel {

class Tdm;

inline constexpr int kItemScanLimit = 10000;
inline constexpr const char* kItemScanLimitMessage = "Выбраны только первые 10000 значений !!!";

struct ItemScanResult {
  std::vector<std::int32_t> items;  // 0-based item numbers in item order, at most the limit
  bool limitReached = false;        // kItemScanLimit names were listed
};

// Fragments are Windows-1251, lower-cased here as the dialog shows them. Names whose
// first byte is a capital (IsScanCapital) are skipped; the rest are lower-cased and listed
// when some fragment occurs in them. Empty fragments are ignored.
ItemScanResult ScanItemNames(Tdm& dm, const std::vector<std::string>& fragments);

}  // namespace zorel
