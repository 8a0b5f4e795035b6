#include "data/product_key.h"

#include <cstdio>

#include "data/errors.h"

namespace zorel {

std::string FormatProductKey(int kind, std::int64_t item) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%5d%lld", kind, static_cast<long long>(item));
  return buf;
}

ProductKey ParseProductKey(std::string_view) { throw BadInput("TEMPORARY"); }

}  // namespace zorel
