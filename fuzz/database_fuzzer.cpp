// Fuzz target: a database folder cut from the input (factory.dat, item.dat, class.dat, the
// dictionaries, the remark file, the index files sometimes supplied and sometimes built), opened
// by the data module and read through: every record with every display text, every item name,
// the classification's upper levels and key lists. Records and items are checked against a
// plain reading of the files through the index actually in use, so an index whose offsets point
// past the file, backwards or into other entries must give null entries, never stray bytes.
#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <memory>

#include "data/bytes.h"
#include "data/classification.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "data/record_details.h"
#include "data/text1251.h"
#include "fuzz_base.h"
#include "fuzz_check.h"

namespace zorel::fuzz {
namespace {

// The record of factory.dat or the item of item.dat at an index offset as the readers must
// serve it: every byte the length word counts inside the file and no longer than the buffer of
// the format; records are at least as long as their length word's end.
std::string_view Entry(const std::string& data, std::int64_t offset, bool record) {
  const auto size = static_cast<std::int64_t>(data.size());
  const std::int64_t wordAt = offset + (record ? kOffsetLength : 0);
  if (offset < 0 || wordAt + 2 > size) return {};
  const std::uint16_t word = LoadU16(AsBytes(data.data() + wordAt));
  if (record && word < kOffsetLength + 2) return {};
  const std::int64_t length = record ? word : 2 + word;
  if (length > kMaxEntry || offset + length > size) return {};
  return std::string_view(data).substr(static_cast<std::size_t>(offset),
                                       static_cast<std::size_t>(length));
}

// The offsets a scan of the data finds, written from the format's rules.
std::string ScannedIndex(const std::string& data, std::int64_t start, bool record) {
  std::string index;
  for (std::int64_t pos = start; pos < static_cast<std::int64_t>(data.size());) {
    const std::int64_t wordAt = pos + (record ? kOffsetLength : 0);
    if (wordAt + 2 > static_cast<std::int64_t>(data.size())) break;
    const std::uint16_t word = LoadU16(AsBytes(data.data() + wordAt));
    if (record && word < kMinRecordLength) break;
    PutU32(index, static_cast<std::uint32_t>(pos));
    pos += record ? word : 2 + word;
  }
  return index;
}

// The name shown for a record that cannot be read.
std::string ProblemName(std::int32_t record) {
  static const std::string prefix = *FromUtf8("Проблемы на записи (");
  return prefix + std::to_string(record) + ")";
}

void CheckRecords(Tdm& dm, const DatabaseFiles& files, const std::string& dir) {
  const std::string factory = files.factoryHeader + files.factoryRecords;
  FUZZ_CHECK(dm.Header().dataStart == FactoryHeaderSize(factory));
  const std::string index = ReadWholeFile(dir + "/factory.idx").value_or("");
  if (files.flags & kSupplyFactoryIdx) {
    FUZZ_CHECK(index == files.factoryIdx);  // vouched for: used as it stands
  } else {
    FUZZ_CHECK(index == ScannedIndex(factory, dm.Header().dataStart, true));
  }
  const std::vector<std::int32_t> offsets = OffsetsOf(index);
  FUZZ_CHECK(dm.RecordCount() == static_cast<std::int32_t>(offsets.size()));
  for (std::int32_t r = 0; r < dm.RecordCount(); ++r) {
    const std::string_view expected = Entry(factory, offsets[static_cast<std::size_t>(r)], true);
    const std::uint8_t* served = dm.GetRecord(r);
    FUZZ_CHECK((served == nullptr) == expected.empty());
    if (served != nullptr) FUZZ_CHECK(std::memcmp(served, expected.data(), expected.size()) == 0);

    const RecordDetails d = GetDetails(dm, r);
    const std::size_t length = expected.size();
    for (const std::string* text :
         {&d.address, &d.head, &d.fax, &d.phones, &d.email, &d.url, &d.advert}) {
      FUZZ_CHECK(text->size() <= length);
    }
    FUZZ_CHECK(d.hasAdvert == dm.HasAdvert(r));
    FUZZ_CHECK(d.email == dm.GetEMail(r));
    FUZZ_CHECK(d.remark == std::string(Strip(dm.GetRemark(r))));
    if (served == nullptr) {
      FUZZ_CHECK(d.name == ProblemName(r));
    } else {
      FUZZ_CHECK(d.name.size() <= length);
    }
  }
  const std::int32_t past = dm.RecordCount();
  FUZZ_CHECK(dm.GetRecord(past) == nullptr);
  FUZZ_CHECK(dm.GetFirmName(past) == ProblemName(past));
}

void CheckItems(Tdm& dm, const DatabaseFiles& files, const std::string& dir) {
  const std::string index = ReadWholeFile(dir + "/item.idx").value_or("");
  if (files.flags & kSupplyItemIdx) {
    FUZZ_CHECK(index == files.itemIdx);
  } else {
    FUZZ_CHECK(index == ScannedIndex(files.items, 0, false));
  }
  const std::vector<std::int32_t> offsets = OffsetsOf(index);
  FUZZ_CHECK(dm.ItemCount() == static_cast<std::int32_t>(offsets.size()));
  for (std::int32_t i = 0; i <= dm.ItemCount(); ++i) {
    std::string_view expected;
    if (i < dm.ItemCount()) {
      expected = Entry(files.items, offsets[static_cast<std::size_t>(i)], false);
      if (!expected.empty()) expected.remove_prefix(2);
    }
    FUZZ_CHECK(dm.GetItemName(i) == CutAtZero(expected));
  }
}

// The classification rules: who is a child of a node and who lies in its subtree.
bool IsChildOf(const TClassInfo& node, const ClassEntry& e) {
  if (e.count == 0) return false;
  if (node.level == 0) {
    return e.codes[0] != 0 && e.codes[1] == 0 && e.codes[2] == 0 && e.codes[3] == 0 &&
           e.codes[4] == 0;
  }
  for (int i = 0; i < 5; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (i < node.level && e.codes[k] != node.codes[k]) return false;
    if (i > node.level && e.codes[k] != 0) return false;
  }
  return e.id != node.entryId;
}

bool InSubtreeOf(const TClassInfo& node, const ClassEntry& e) {
  for (std::size_t i = 0; i < 5; ++i) {
    if (node.codes[i] != 0 && node.codes[i] != e.codes[i]) return false;
  }
  return true;
}

std::vector<ClassEntry> Entries(const Tdm& dm) {
  std::vector<ClassEntry> entries;
  for (std::int32_t p = 0; const std::uint8_t* e = dm.GetClassEntry(p); ++p) {
    entries.push_back(ClassEntry::Decode(e));
  }
  return entries;
}

void CheckExpansion(Tdm& dm, const std::vector<ClassEntry>& entries, const TClassInfo& node,
                    const std::vector<ClassChild>& children) {
  std::vector<ClassChild> expected;
  if (node.Expandable()) {
    for (const ClassEntry& e : entries) {
      if (!IsChildOf(node, e)) continue;
      ClassChild c;
      c.info.entryId = e.id;
      c.info.level = node.level + 1;
      for (int i = 0; i < c.info.level; ++i)
        c.info.codes[static_cast<std::size_t>(i)] = e.codes[static_cast<std::size_t>(i)];
      c.caption = dm.GetItemName(static_cast<std::int64_t>(e.item) - 1);
      expected.push_back(c);
    }
  }
  std::stable_sort(expected.begin(), expected.end(), [](const ClassChild& a, const ClassChild& b) {
    return CompareRussian(a.caption, b.caption) < 0;
  });
  FUZZ_CHECK(children.size() == expected.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    FUZZ_CHECK(children[i].caption == expected[i].caption);
    FUZZ_CHECK(children[i].info.entryId == expected[i].info.entryId);
    FUZZ_CHECK(children[i].info.level == expected[i].info.level);
    FUZZ_CHECK(children[i].info.codes == expected[i].info.codes);
  }
}

void CheckKeys(Tdm& dm, const std::vector<ClassEntry>& entries,
               const std::vector<TClassInfo>& chosen) {
  std::vector<ProductKey> expected;
  for (const ClassEntry& e : entries) {
    if (e.item == 0) continue;
    if (std::none_of(chosen.begin(), chosen.end(),
                     [&](const TClassInfo& n) { return InSubtreeOf(n, e); })) {
      continue;
    }
    const ProductKey key{e.kind, static_cast<std::int64_t>(e.item) - 1};
    if (std::find(expected.begin(), expected.end(), key) == expected.end()) expected.push_back(key);
  }
  FUZZ_CHECK(BuildKeyList(dm, chosen) == expected);
}

// Expands the root and then, breadth first, up to a budget of nodes picked by the selector
// bits; checks each expansion, the key lists of what was expanded and the lookup by codes.
void CheckClassification(Tdm& dm, std::uint8_t selector) {
  const std::vector<ClassEntry> entries = Entries(dm);
  std::deque<TClassInfo> pending{TClassInfo::Root()};
  std::vector<TClassInfo> expanded;
  int bit = 0;
  for (int budget = 12; budget > 0 && !pending.empty(); --budget) {
    const TClassInfo node = pending.front();
    pending.pop_front();
    const std::vector<ClassChild> children = ExpandNode(dm, node);
    CheckExpansion(dm, entries, node, children);
    expanded.push_back(node);
    for (std::size_t i = 0; i < children.size() && i < 3; ++i) {
      if (i == 0 || ((selector >> (bit++ % 8)) & 1) != 0) pending.push_back(children[i].info);
    }
  }
  CheckKeys(dm, entries, {TClassInfo::Root()});
  CheckKeys(dm, entries, std::vector<TClassInfo>(expanded.begin() + 1, expanded.end()));
  for (const TClassInfo& node : expanded) {
    const std::optional<TClassInfo> found = FindNode(dm, node.codes);
    FUZZ_CHECK(found.has_value());
    if (node.level > 0) {
      const auto first = std::find_if(entries.begin(), entries.end(),
                                      [&](const ClassEntry& e) { return e.codes == node.codes; });
      FUZZ_CHECK(first != entries.end() && found->entryId == first->id);
    }
  }
}

}  // namespace
}  // namespace zorel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  using namespace zorel::fuzz;
  InputReader in(data, size);
  const DatabaseFiles files = DatabaseFiles::Read(in);
  const InputFolder folder(DatabaseFolder());
  const std::unique_ptr<Tdm> dm = PlaceAndOpen(files);
  if (!dm) return 0;
  CheckRecords(*dm, files, DatabaseFolder());
  CheckItems(*dm, files, DatabaseFolder());
  CheckClassification(*dm, in.Byte());
  return 0;
}
