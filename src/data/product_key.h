// ProductKey: a product named by kind (0 = any kind) and 0-based item number. Its text form is
// the kind right-aligned in five characters followed by the item number ("%5d%d"), the form
// the product and branch dialogs hand to MatchProducts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorel {

struct ProductKey {
  std::uint8_t kind = 0;
  std::int64_t item = 0;
  bool operator==(const ProductKey&) const = default;
};

std::string FormatProductKey(int kind, std::int64_t item);
inline std::string FormatProductKey(const ProductKey& k) {
  return FormatProductKey(k.kind, k.item);
}
// Kind: the integer of the first five characters (leading blanks allowed), kept as 8 bits;
// item: the integer of the characters from the sixth on. Throws BadInput when either is not
// an integer.
ProductKey ParseProductKey(std::string_view text);

}  // namespace zorel
