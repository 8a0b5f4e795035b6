// Product keys in their text form, as the product and branch dialogs exchange them.
#include "data/product_key.h"

#include <algorithm>
#include <cstdio>

#include "data/decimal.h"
#include "data/errors.h"
#include "data/text1251.h"

namespace zorel {
namespace {

constexpr std::size_t kKindWidth = 5;

std::string_view SkipLeadingBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

}  // namespace

std::string FormatProductKey(int kind, std::int64_t item) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%5d%lld", kind, static_cast<long long>(item));
  return buf;
}

ProductKey ParseProductKey(std::string_view text) {
  const auto kind = ParseDecimal32(SkipLeadingBlanks(text.substr(0, kKindWidth)));
  const auto item = ParseDecimal(SkipLeadingBlanks(text.substr(std::min(text.size(), kKindWidth))));
  if (!kind || !item) throw BadInput("Неверный ключ продукции «" + ToUtf8(text) + "»");
  return ProductKey{static_cast<std::uint8_t>(*kind), *item};
}

}  // namespace zorel
