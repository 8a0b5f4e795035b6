// ConditionCheck: one parsed condition of the requisites search, ready to be asked of many
// records, by the record scan and by the column scans alike. Tests whose outcome depends only
// on a dictionary entry or an item name are run once per entry or item and remembered for the
// rest of the search, so a check is used by one thread at a time.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "data/bytes.h"
#include "data/conditions.h"
#include "data/data_module.h"
#include "data/field_table.h"
#include "data/text1251.h"
#include "data/text_ops.h"

namespace zorel {

inline constexpr std::int8_t kUnknownOutcome = -1;

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
inline std::optional<VarField> VarFieldOf(int field) {
  const FieldStorage storage = FieldOf(field).storage;
  if (storage != FieldStorage::Variable && storage != FieldStorage::Products) return std::nullopt;
  return FieldOf(field).var;
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
      cache_.assign(dictionary_->size() + 1, kUnknownOutcome);
    }
    if (field_.storage == FieldStorage::Products) {
      cache_.assign(static_cast<std::size_t>(dm.ItemCount()) + 1, kUnknownOutcome);
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

  const FieldInfo& Field() const { return field_; }
  const TestValue& Value() const { return value_; }
  bool Expected() const { return expected_; }
  // The numeric test and its value, for number fields.
  NumTest NumberTest() const { return num_; }
  std::int32_t Number() const { return number_; }
  // True for a case-insensitive contains-test on the name, which the name column can answer.
  bool OnNameAnyCase() const {
    return field_.storage == FieldStorage::Variable && var_ == VarField::Name &&
           text_ == TextContains;
  }

  // `record` is invalid for an unreadable record, whose fields all read as empty.
  bool Satisfied(const RecordView& record, std::int32_t number) {
    switch (field_.storage) {
      case FieldStorage::Number:
      case FieldStorage::Dictionary:
        return HeadNumberSatisfied(record.HeadNumber(field_.offset, field_.size));
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

  // Satisfied() for a number or dictionary field holding `stored`.
  bool HeadNumberSatisfied(std::int32_t stored) {
    return field_.storage == FieldStorage::Number ? num_(stored, number_)
                                                  : DictionarySatisfied(stored);
  }
  // Whether a product entry naming the 0-based item satisfies a products condition.
  bool ItemSatisfied(std::int64_t item) {
    const std::size_t items = cache_.size() - 1;
    const bool inside = item >= 0 && static_cast<std::size_t>(item) < items;
    const std::size_t slot = inside ? static_cast<std::size_t>(item) : items;
    return Outcome(
        Remembered(slot, [&] { return inside ? dm_.ItemName(item) : std::string_view(); }));
  }

 private:
  bool Test(std::string_view text) const { return RunTextTest(text_, text, value_); }
  bool Outcome(bool result) const { return result == expected_; }

  // The test's outcome on the text that text() gives, run the first time the slot is asked.
  template <class Text>
  bool Remembered(std::size_t slot, Text text) {
    if (cache_[slot] == kUnknownOutcome) cache_[slot] = Test(text()) ? 1 : 0;
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
    return AnyProduct(record, [&](std::uint8_t, std::int64_t item) { return ItemSatisfied(item); });
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

}  // namespace zorel
