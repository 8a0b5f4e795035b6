// What the measured searches look for, chosen from the base itself so that every search has a
// real share of hits: fragments of names and item names, a staff threshold, one product key.
// Fragments are Windows-1251 and lower-case (the peer's pre-lower-cased columns take them
// as they are; the core's case-insensitive tests fold case themselves).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/product_key.h"

namespace zorel {
class Tdm;
}

namespace zorel::bench {

struct Workload {
  std::string nameFragment;     // Cyrillic, occurs in names written in other letter cases
  std::int32_t staffThreshold;  // staff > it holds for about a tenth of the enterprises
  std::string productFragment;  // occurs in some item names
  ProductKey oneKey;            // kind 0 and the item of one enterprise's first product
  std::vector<std::string> scanFragments;  // 50 distinct fragments; the first is the 1-case
};

Workload ChooseWorkload(const Tdm& dm);

}  // namespace zorel::bench
