// Tests whose outcome depends only on a dictionary entry or an item name are run once per entry
// or item and remembered for the rest of the call.
#include "data/matcher.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "data/bytes.h"
#include "data/data_module.h"
#include "data/field_table.h"
#include "data/readahead.h"
#include "data/text1251.h"
#include "data/text_tests.h"

namespace zorel {
namespace {

constexpr std::int8_t kUnknown = -1;

// Calls found(kind, 0-based item) for the record's product entries in order until it gives
// true; tells whether it did.
template <class Found>
bool AnyProduct(const RecordView& record, Found found) {
  const std::string_view list = record.Field(VarField::Products);
  const auto* p = AsBytes(list.data());
  for (std::size_t pos = 0; pos + kProductEntrySize <= list.size(); pos += kProductEntrySize) {
    if (found(p[pos], static_cast<std::int64_t>(LoadU32(p + pos + 1)) - 1)) return true;
  }
  return false;
}

// The variable field a field code reads, if it reads one.
std::optional<VarField> VarFieldOf(int field) {
  const FieldStorage storage = FieldOf(field).storage;
  if (storage != FieldStorage::Variable && storage != FieldStorage::Products) return std::nullopt;
  return FieldOf(field).var;
}

// The variable fields besides the name (which lies next to the head) that the conditions read.
std::vector<VarField> FieldsRead(const std::vector<Condition>& conditions) {
  std::vector<VarField> fields;
  for (const Condition& c : conditions) {
    const auto f = VarFieldOf(c.field);
    if (f && *f != VarField::Name && std::find(fields.begin(), fields.end(), *f) == fields.end()) {
      fields.push_back(*f);
    }
  }
  return fields;
}

// One parsed condition, ready to be asked of many records.
class ConditionCheck {
 public:
  ConditionCheck(const Tdm& dm, const Condition& c)
      : dm_(dm),
        field_(FieldOf(c.field)),
        expected_(c.expected == 1),
        value_(c.value),
        number_(c.number),
        text_(TextTestFor(c.op, c.caseSensitive)),
        num_(NumTestFor(c.op)),
        var_(VarFieldOf(c.field).value_or(VarField::Name)),
        dictionary_(&dm.Dictionary(field_.dictionary)) {
    // Remembered outcomes: one per dictionary entry or item, and a last one for any index
    // outside the list, which reads as empty text.
    if (field_.storage == FieldStorage::Dictionary) {
      cache_.assign(dictionary_->size() + 1, kUnknown);
    }
    if (field_.storage == FieldStorage::Products) {
      cache_.assign(static_cast<std::size_t>(dm.ItemCount()) + 1, kUnknown);
    }
  }

  // The text test when the condition is only that test on a variable field, else null.
  TextTest PlainTextTest() const {
    return field_.storage == FieldStorage::Variable ? text_ : nullptr;
  }
  // Satisfied() for such a condition, with its test known at compile time.
  template <TextTest kTest>
  bool PlainSatisfied(const RecordView& record) const {
    const std::string_view text = record.Field(var_);
    return kTest(reinterpret_cast<const std::uint8_t*>(text.data()), value_, text.size()) ==
           expected_;
  }

  // `record` is invalid for an unreadable record, whose fields all read as empty.
  bool Satisfied(const RecordView& record, std::int32_t number) {
    switch (field_.storage) {
      case FieldStorage::Number:
        return num_(record.HeadNumber(field_.offset, field_.size), number_);
      case FieldStorage::Dictionary:
        return DictionarySatisfied(record.HeadNumber(field_.offset, field_.size));
      case FieldStorage::FixedText:
        return Outcome(Test(Strip(CutAtZero(record.HeadText(field_.offset, field_.size)))));
      case FieldStorage::Remark:
        return Outcome(RemarkResult(record, number));
      case FieldStorage::Products:
        return ProductsSatisfied(record);
      case FieldStorage::Variable:
        break;
    }
    return Outcome(Test(record.Field(var_)));
  }

 private:
  bool Test(std::string_view text) const { return RunTextTest(text_, text, value_); }
  bool Outcome(bool result) const { return result == expected_; }

  // The test's outcome on the text that text() gives, run the first time the slot is asked.
  template <class Text>
  bool Remembered(std::size_t slot, Text text) {
    if (cache_[slot] == kUnknown) cache_[slot] = Test(text()) ? 1 : 0;
    return cache_[slot] == 1;
  }

  bool RemarkResult(const RecordView& record, std::int32_t number) {
    if (!record.valid() || !dm_.Remarks().HasRemark(number)) return Test({});
    const std::string remark = dm_.GetRemark(number);
    return Test(Strip(remark));
  }

  // A record without an entry (index 0 or less) satisfies the condition whatever it says.
  bool DictionarySatisfied(int stored) {
    if (stored <= 0) return true;
    const auto index = static_cast<std::size_t>(stored - 1);
    const std::size_t slot = std::min(index, dictionary_->size());
    return Outcome(Remembered(slot, [&]() -> std::string_view {
      return slot < dictionary_->size() ? (*dictionary_)[slot] : std::string_view();
    }));
  }

  // Satisfied when some product's name gives the expected outcome; never without products.
  bool ProductsSatisfied(const RecordView& record) {
    const std::size_t items = cache_.size() - 1;
    return AnyProduct(record, [&](std::uint8_t, std::int64_t item) {
      const bool inside = item >= 0 && static_cast<std::size_t>(item) < items;
      const std::size_t slot = inside ? static_cast<std::size_t>(item) : items;
      return Outcome(
          Remembered(slot, [&] { return inside ? dm_.ItemName(item) : std::string_view(); }));
    });
  }

  const Tdm& dm_;
  const FieldInfo& field_;
  bool expected_;
  TestValue value_;
  std::int32_t number_;
  TextTest text_;
  NumTest num_;
  VarField var_;
  const std::vector<std::string>* dictionary_;
  std::vector<std::int8_t> cache_;
};

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

  bool Matches(std::uint8_t kind, std::int64_t item) const {
    if (InTable(item)) {
      const std::uint32_t m = masks_[static_cast<std::size_t>(item)];
      if (m == 0) return false;
      if ((m & (kAnyKind | kindBits_[kind])) != 0) return true;
      return (m & kOtherKind) != 0 && exact_.contains(Pack(kind, item));
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

// Keeps the records of the list for which pass(record view, number) holds.
template <class Pass>
void Keep(const Tdm& dm, const RecordReadahead& readahead, RecordList& list, Pass pass) {
  RecordList kept;
  kept.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    readahead.Before(i);
    const std::int32_t number = list[i];
    if (pass(dm.GetRecordView(number), number)) kept.push_back(number);
  }
  if (kept.size() != list.size()) list.swap(kept);
}

// Most searches are one contains-test on one field: run with the test inlined into the loop.
template <TextTest kTest>
void KeepPlain(const Tdm& dm, const RecordReadahead& readahead, RecordList& list,
               const ConditionCheck& check) {
  Keep(dm, readahead, list,
       [&](const RecordView& record, std::int32_t) { return check.PlainSatisfied<kTest>(record); });
}

}  // namespace

void MatchConditions(const Tdm& dm, RecordList& list, const ConditionTable& table) {
  const std::vector<Condition> conditions = ParseConditions(table);
  if (conditions.empty()) return;
  std::vector<ConditionCheck> checks;
  checks.reserve(conditions.size());
  for (const Condition& c : conditions) checks.emplace_back(dm, c);

  const RecordReadahead readahead(dm.FactoryIndex(), list, FieldsRead(conditions));
  if (checks.size() == 1) {
    const TextTest test = checks[0].PlainTextTest();
    if (test == TextContains) return KeepPlain<TextContains>(dm, readahead, list, checks[0]);
    if (test == TextContainsCase) {
      return KeepPlain<TextContainsCase>(dm, readahead, list, checks[0]);
    }
  }
  Keep(dm, readahead, list, [&](const RecordView& record, std::int32_t number) {
    for (ConditionCheck& check : checks) {
      if (!check.Satisfied(record, number)) return false;
    }
    return true;
  });
}

void MatchProducts(const Tdm& dm, RecordList& list, const std::vector<ProductKey>& keys) {
  const KeyLookup lookup(keys, dm.ItemCount());
  const RecordReadahead readahead(dm.FactoryIndex(), list, {VarField::Products});
  RecordList kept;
  kept.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    readahead.Before(i);
    const std::int32_t number = list[i];
    const auto matches = [&](std::uint8_t kind, std::int64_t item) {
      return lookup.Matches(kind, item);
    };
    if (AnyProduct(dm.GetRecordView(number), matches)) kept.push_back(number);
  }
  list.swap(kept);
}

}  // namespace zorel
