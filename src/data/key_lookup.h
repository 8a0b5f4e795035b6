// KeyLookup: the product keys of a products search arranged for lookup by (kind, item).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "data/product_key.h"

namespace zorel {

// The product keys arranged for lookup by (kind, item). For each item inside item.dat a mask
// tells which kinds its keys name: one bit for "any kind", one for each of the first kinds met
// and one for "some other kind". The rare rest, keys of other kinds or of items outside
// item.dat, sit in a hash set.
class KeyLookup {
 public:
  KeyLookup(const std::vector<ProductKey>& keys, std::int32_t itemCount)
      : masks_(static_cast<std::size_t>(std::max(itemCount, 0)), 0) {
    std::uint32_t nextBit = kFirstKindBit;
    for (const ProductKey& k : keys) {
      // Records name items 1 to 2^32 - 1, so other keys can match nothing.
      if (k.item < -1 || k.item > kMaxItem) continue;
      if (!InTable(k.item)) {
        exact_.insert(Pack(k.kind, k.item));
        continue;
      }
      std::uint32_t bit = k.kind == 0 ? kAnyKind : kindBits_[k.kind];
      if (bit == 0 && nextBit != kOtherKind) {
        bit = kindBits_[k.kind] = nextBit;
        nextBit <<= 1;
      }
      if (bit == 0) {
        bit = kOtherKind;
        exact_.insert(Pack(k.kind, k.item));
      }
      masks_[static_cast<std::size_t>(k.item)] |= bit;
    }
  }

  // Whether some key names the item (of item.dat) at all, and whether one names it of any kind.
  bool Names(std::int64_t item) const { return masks_[static_cast<std::size_t>(item)] != 0; }
  bool NamesAnyKind(std::int64_t item) const {
    return (masks_[static_cast<std::size_t>(item)] & kAnyKind) != 0;
  }

  bool Matches(std::uint8_t kind, std::int64_t item) const {
    if (InTable(item)) {
      const std::uint32_t m = masks_[static_cast<std::size_t>(item)];
      // No branch on the kind: scans over many entries of one item take it for every entry.
      const bool byBit = (m & (kAnyKind | kindBits_[kind])) != 0;
      if ((m & kOtherKind) == 0) return byBit;
      return byBit || exact_.contains(Pack(kind, item));
    }
    if (exact_.empty()) return false;
    return exact_.contains(Pack(0, item)) || exact_.contains(Pack(kind, item));
  }

 private:
  static constexpr std::int64_t kMaxItem = 0xFFFFFFFFll - 1;
  static constexpr std::uint32_t kAnyKind = 1;
  static constexpr std::uint32_t kFirstKindBit = 2;
  static constexpr std::uint32_t kOtherKind = 1u << 31;

  bool InTable(std::int64_t item) const {
    return item >= 0 && static_cast<std::uint64_t>(item) < masks_.size();
  }
  static std::uint64_t Pack(std::uint8_t kind, std::int64_t item) {
    return (static_cast<std::uint64_t>(kind) << 32) | static_cast<std::uint32_t>(item + 1);
  }

  std::vector<std::uint32_t> masks_;
  std::array<std::uint32_t, 256> kindBits_{};  // 0 for kinds without a bit of their own
  std::unordered_set<std::uint64_t> exact_;
};

}  // namespace zorel
