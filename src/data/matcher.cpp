// The record scan: every record of the list is read in turn. Lists that are a good part of the
// base go to the column scans of matcher_columns instead when the search file is there.
#include "data/matcher.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "data/bytes.h"
#include "data/condition_check.h"
#include "data/data_module.h"
#include "data/field_table.h"
#include "data/key_lookup.h"
#include "data/matcher_columns.h"
#include "data/readahead.h"
#include "data/text1251.h"
#include "data/text_ops.h"

namespace zorel {
namespace {

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

  if (const SearchColumns* columns = dm.Columns(); columns && WorthColumns(*columns, list)) {
    return KeepByColumns(dm, *columns, list, checks);
  }
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
  if (const SearchColumns* columns = dm.Columns(); columns && WorthColumns(*columns, list)) {
    return KeepByPostings(*columns, list, lookup);
  }
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
