// The classification as a tree: expanding a node (its children, sorted by caption), subtree
// membership, and the product key list of the branch search.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/class_object.h"
#include "data/product_key.h"

namespace zorel {

class Tdm;

// What a tree item of the branch dialog carries.
struct TClassInfo {
  std::array<std::uint32_t, 5> codes{};  // the entry's codes up to the item's level, 0 beyond
  std::uint32_t item = 0;                // the entry's item, fifth-level items only
  bool loaded = false;
  std::uint32_t entryId = 0;  // 0 for the root
  std::uint16_t count = 2;    // 2 for the root
  std::uint8_t kind = 0;      // 0 for the root
  int level = 0;              // 0 for the root

  static TClassInfo Root() { return {}; }
  bool Expandable() const { return count >= 2 && level < 5; }
};

struct ClassChild {
  TClassInfo info;
  std::string caption;  // the item name of the entry (Windows-1251)
};

// Called with the number of entries scanned so far, every 250 entries.
using ScanProgress = std::function<void(std::int32_t scanned)>;
inline constexpr int kProgressStep = 250;

// Entries that are children of the node (count > 0 and the rule of the node's level), sorted
// by caption in Russian order. A node whose count is below 2, or on level 5, has none.
std::vector<ClassChild> ExpandNode(Tdm& dm, const TClassInfo& node,
                                   const ScanProgress& progress = {});

bool InSubtree(const std::array<std::uint32_t, 5>& nodeCodes, const ClassEntry& entry);

// Keys of every entry with an item that lies in the subtree of one of the chosen nodes, in
// entry order, each once.
std::vector<ProductKey> BuildKeyList(Tdm& dm, const std::vector<TClassInfo>& chosen,
                                     const ScanProgress& progress = {});

// The node named by its codes: the root for all zeros, else the first entry with exactly
// those codes. Empty when none has them.
std::optional<TClassInfo> FindNode(Tdm& dm, const std::array<std::uint32_t, 5>& codes);

}  // namespace zorel
