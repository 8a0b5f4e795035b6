// The classification tree of the branch search, computed from class.dat by full scans: the
// table is small and never changes, so nothing is kept between calls.
#include "data/classification.h"

#include <algorithm>
#include <unordered_set>

#include "data/data_module.h"
#include "data/text1251.h"

namespace zorel {
namespace {

constexpr int kLevels = 5;

// Calls visit(entry) for every entry of class.dat in table order, reporting progress.
template <class Visit>
void ScanEntries(const Tdm& dm, const ScanProgress& progress, Visit visit) {
  for (std::int32_t position = 0;; ++position) {
    const std::uint8_t* p = dm.GetClassEntry(position);
    if (p == nullptr) break;
    if (progress && (position + 1) % kProgressStep == 0) progress(position + 1);
    visit(ClassEntry::Decode(p));
  }
}

// Count above 0 and the children rule of the node's level: the root takes entries with only
// code 1; a node of level L takes entries that share its codes 1..L, have no codes after
// level L + 1 and are not the node's own entry.
bool IsChild(const TClassInfo& node, const ClassEntry& e) {
  if (e.count == 0) return false;
  const int level = node.level;
  for (int i = 0; i < level; ++i) {
    if (e.codes[static_cast<std::size_t>(i)] != node.codes[static_cast<std::size_t>(i)]) {
      return false;
    }
  }
  for (int i = level + 1; i < kLevels; ++i) {
    if (e.codes[static_cast<std::size_t>(i)] != 0) return false;
  }
  if (level == 0) return e.codes[0] != 0;
  return e.id != node.entryId;
}

// The level of a node with these codes: that of its last code that is not 0.
int LevelOf(const std::array<std::uint32_t, 5>& codes) {
  int level = kLevels;
  while (level > 0 && codes[static_cast<std::size_t>(level - 1)] == 0) --level;
  return level;
}

TClassInfo InfoOf(const ClassEntry& e, int level) {
  TClassInfo info;
  for (int i = 0; i < level; ++i) {
    info.codes[static_cast<std::size_t>(i)] = e.codes[static_cast<std::size_t>(i)];
  }
  info.item = level == kLevels ? e.item : 0;
  info.loaded = e.count < 2;
  info.entryId = e.id;
  info.count = e.count;
  info.kind = e.kind;
  info.level = level;
  return info;
}

std::uint64_t KeyIdentity(std::uint8_t kind, std::uint32_t item) {
  return (static_cast<std::uint64_t>(kind) << 32) | item;
}

}  // namespace

std::vector<ClassChild> ExpandNode(Tdm& dm, const TClassInfo& node, const ScanProgress& progress) {
  std::vector<ClassChild> children;
  if (!node.Expandable()) return children;
  ScanEntries(dm, progress, [&](const ClassEntry& e) {
    if (!IsChild(node, e)) return;
    children.push_back({InfoOf(e, node.level + 1),
                        std::string(dm.ItemName(static_cast<std::int64_t>(e.item) - 1))});
  });
  std::stable_sort(children.begin(), children.end(), [](const ClassChild& a, const ClassChild& b) {
    return CompareRussian(a.caption, b.caption) < 0;
  });
  return children;
}

bool InSubtree(const std::array<std::uint32_t, 5>& nodeCodes, const ClassEntry& entry) {
  for (std::size_t i = 0; i < nodeCodes.size(); ++i) {
    if (nodeCodes[i] != 0 && nodeCodes[i] != entry.codes[i]) return false;
  }
  return true;
}

std::vector<ProductKey> BuildKeyList(Tdm& dm, const std::vector<TClassInfo>& chosen,
                                     const ScanProgress& progress) {
  std::vector<ProductKey> keys;
  std::unordered_set<std::uint64_t> seen;
  ScanEntries(dm, progress, [&](const ClassEntry& e) {
    if (e.item == 0) return;
    const bool inChosen = std::any_of(chosen.begin(), chosen.end(), [&](const TClassInfo& node) {
      return InSubtree(node.codes, e);
    });
    if (inChosen && seen.insert(KeyIdentity(e.kind, e.item)).second) {
      keys.push_back({e.kind, static_cast<std::int64_t>(e.item) - 1});
    }
  });
  return keys;
}

std::optional<TClassInfo> FindNode(Tdm& dm, const std::array<std::uint32_t, 5>& codes) {
  const int level = LevelOf(codes);
  if (level == 0) return TClassInfo::Root();
  std::optional<TClassInfo> found;
  ScanEntries(dm, {}, [&](const ClassEntry& e) {
    if (!found && e.codes == codes) {
      found = InfoOf(e, level);
    }
  });
  return found;
}

}  // namespace zorel
