#include "data/matcher_columns.h"

#include <algorithm>
#include <array>

#include "data/byte_find.h"
#include "data/parallel.h"
#include "data/record_set.h"

namespace zorel {
namespace {

constexpr std::int32_t kBits = RecordSet::kWordBits;

// ANDs into the words of records from .. to (from a multiple of 64) whether pass(record) holds.
template <class Pass>
void KeepWhere(std::uint64_t* words, std::int32_t from, std::int32_t to, Pass pass) {
  for (std::int32_t r = from; r < to; r += kBits) {
    const std::int32_t end = std::min(to, r + kBits);
    std::uint64_t word = 0;
    for (std::int32_t k = r; k < end; ++k) word |= static_cast<std::uint64_t>(pass(k)) << (k - r);
    words[r / kBits] &= word;
  }
}

std::int32_t Stored(const std::uint8_t* column, int width, std::int32_t record) {
  const std::uint8_t* p =
      column + static_cast<std::size_t>(record) * static_cast<std::size_t>(width);
  if (width == 1) return static_cast<std::int8_t>(p[0]);
  return width == 2 ? LoadI16(p) : LoadI32(p);
}

// A condition on a head number, answered from its column. One- and two-byte fields take their
// outcome for every possible value from a table made once; four-byte ones compare.
class NumberFilter {
 public:
  NumberFilter(const SearchColumns& columns, ConditionCheck& check)
      : column_(columns.Column(check.Field().code)),
        width_(check.Field().size),
        test_(check.NumberTest()),
        number_(check.Number()) {
    if (width_ == 4) return;
    const std::int32_t lowest = width_ == 1 ? INT8_MIN : INT16_MIN;
    const std::int32_t highest = width_ == 1 ? INT8_MAX : INT16_MAX;
    outcomes_.resize(static_cast<std::size_t>(highest - lowest + 1));
    bias_ = -lowest;
    const std::int32_t records = columns.Records();
    if (static_cast<std::size_t>(records) < outcomes_.size()) {
      // A base smaller than the table: only the values it holds are ever looked up.
      for (std::int32_t r = 0; r < records; ++r) {
        const std::int32_t v = Stored(column_, width_, r);
        outcomes_[static_cast<std::size_t>(v + bias_)] = check.HeadNumberSatisfied(v) ? 1 : 0;
      }
      return;
    }
    for (std::int32_t v = lowest; v <= highest; ++v) {
      outcomes_[static_cast<std::size_t>(v + bias_)] = check.HeadNumberSatisfied(v) ? 1 : 0;
    }
  }

  void Keep(std::uint64_t* words, std::int32_t from, std::int32_t to) const {
    if (width_ != 4) {
      return KeepWhere(words, from, to, [&](std::int32_t r) {
        return outcomes_[static_cast<std::size_t>(Stored(column_, width_, r) + bias_)] != 0;
      });
    }
    const auto* values = reinterpret_cast<const std::int32_t*>(column_);
    const std::int32_t x = number_;
    if (test_ == NumGreater)
      return KeepWhere(words, from, to, [&](std::int32_t r) { return values[r] > x; });
    if (test_ == NumLess)
      return KeepWhere(words, from, to, [&](std::int32_t r) { return values[r] < x; });
    if (test_ == NumGreaterEq)
      return KeepWhere(words, from, to, [&](std::int32_t r) { return values[r] >= x; });
    if (test_ == NumLessEq)
      return KeepWhere(words, from, to, [&](std::int32_t r) { return values[r] <= x; });
    KeepWhere(words, from, to, [&](std::int32_t r) { return test_(values[r], x); });
  }

 private:
  const std::uint8_t* column_;
  int width_;
  NumTest test_;
  std::int32_t number_;
  std::vector<std::uint8_t> outcomes_;
  std::int32_t bias_ = 0;
};

// A case-insensitive contains-test on the name: one search through the upper-cased names of
// the part; a record whose name holds the value is found once, then the search moves to the next.
class NameFilter {
 public:
  NameFilter(const SearchColumns& columns, const ConditionCheck& check)
      : columns_(columns),
        sought_(std::string_view(check.Value().upper).substr(0, check.Value().sought)),
        expected_(check.Expected()) {}

  void Keep(std::uint64_t* words, std::int32_t from, std::int32_t to) const {
    std::vector<std::uint64_t> found(static_cast<std::size_t>(to - from + kBits - 1) / kBits);
    const std::string_view names = columns_.Names(from, to);
    const auto* hay = reinterpret_cast<const std::uint8_t*>(names.data());
    const std::uint32_t base = std::min(columns_.NameStart(from), columns_.NameStart(to));
    std::int32_t r = from;
    for (std::size_t at = FindBytes(hay, names.size(), sought_, 0); at < names.size() && r < to;
         at = FindBytes(hay, names.size(), sought_, at)) {
      r = RecordHolding(at + base, r, to);
      found[static_cast<std::size_t>(r - from) / kBits] |= std::uint64_t{1} << ((r - from) % kBits);
      ++r;
      at = columns_.NameStart(r) - base;
    }
    const std::uint64_t flip = expected_ ? 0 : ~std::uint64_t{0};
    for (std::size_t w = 0; w < found.size(); ++w) words[from / kBits + w] &= found[w] ^ flip;
  }

 private:
  // The last record of r .. to - 1 whose name starts at or before `at` (r's does): a gallop
  // from r, since a match lies a few names further on.
  std::int32_t RecordHolding(std::size_t at, std::int32_t r, std::int32_t to) const {
    std::int32_t step = 1;
    while (r + step < to && columns_.NameStart(r + step) <= at) {
      r += step;
      step *= 2;
    }
    for (step /= 2; step > 0; step /= 2) {
      if (r + step < to && columns_.NameStart(r + step) <= at) r += step;
    }
    return r;
  }

  const SearchColumns& columns_;
  std::string_view sought_;
  bool expected_;
};

// How the posting list of an item is taken: not at all, every entry, or the entries whose kind
// the search accepts.
enum class Walk { Skip, All, ByKind };

// The records with a product entry the search accepts: walk(item) for the items of item.dat,
// asked once per item on this thread; pass(kind, 0-based item) for single entries, of items
// walked by kind (from several threads at once) and of entries naming no item of item.dat.
// Each thread takes the records of its part of the base from every list.
template <class WalkOf, class Pass>
RecordSet RecordsWithProduct(const SearchColumns& columns, WalkOf walk, Pass pass) {
  std::vector<Walk> how(static_cast<std::size_t>(columns.Items()));
  for (std::int32_t item = 0; item < columns.Items(); ++item)
    how[static_cast<std::size_t>(item)] = walk(item);
  RecordSet set(columns.Records());
  const std::int32_t* records = columns.PostingRecords();
  const std::uint8_t* kinds = columns.PostingKinds();
  ForEachPart(static_cast<std::size_t>(columns.Records()), kBits,
              [&](int, std::size_t first, std::size_t last) {
                const auto from = static_cast<std::int32_t>(first);
                const auto to = static_cast<std::int32_t>(last);
                for (std::int32_t item = 0; item < columns.Items(); ++item) {
                  const Walk w = how[static_cast<std::size_t>(item)];
                  if (w == Walk::Skip) continue;
                  const auto [begin, end] = columns.PostingsOf(item);
                  const std::int32_t* low = std::lower_bound(records + begin, records + end, from);
                  const std::int32_t* high = std::lower_bound(low, records + end, to);
                  // A list out of order (a damaged file) must not reach another part's records.
                  if (w == Walk::All) {
                    for (const std::int32_t* p = low; p < high; ++p)
                      set.AddIf(*p, *p >= from && *p < to);
                    continue;
                  }
                  for (const std::int32_t* p = low; p < high; ++p) {
                    set.AddIf(*p, (*p >= from) & (*p < to) & pass(kinds[p - records], item));
                  }
                }
              });
  for (std::uint32_t q = 0; q < columns.OtherCount(); ++q) {
    const std::int64_t item = static_cast<std::int64_t>(columns.OtherItems()[q]) - 1;
    if (pass(columns.OtherKinds()[q], item)) set.Add(columns.OtherRecords()[q]);
  }
  return set;
}

// Keeps the list's records in the set; those outside the base go by outside(record). The parts
// of a long list are compacted in place at once, then closed up; records outside the base are
// decided on this thread, since outside() may remember what it found.
template <class Outside>
void KeepInSet(RecordList& list, const RecordSet& set, Outside outside) {
  const auto n = static_cast<std::uint32_t>(set.Records());
  struct Part {
    std::size_t from = 0, end = 0;
    bool strays = false;
  };
  std::vector<Part> parts(static_cast<std::size_t>(PartCount(list.size())));
  ForEachPart(list.size(), 1, [&](int index, std::size_t from, std::size_t to) {
    Part& part = parts[static_cast<std::size_t>(index)];
    std::size_t end = from;
    bool strays = false;
    for (std::size_t i = from; i < to; ++i) {
      const std::int32_t r = list[i];
      const bool inside = static_cast<std::uint32_t>(r) < n;
      strays |= !inside;
      list[end] = r;
      end += !inside || set.Has(r) ? 1 : 0;
    }
    part = Part{from, end, strays};
  });
  std::size_t kept = 0;
  for (const Part& part : parts) {
    if (!part.strays) {
      std::copy(list.begin() + static_cast<std::ptrdiff_t>(part.from),
                list.begin() + static_cast<std::ptrdiff_t>(part.end),
                list.begin() + static_cast<std::ptrdiff_t>(kept));
      kept += part.end - part.from;
      continue;
    }
    for (std::size_t i = part.from; i < part.end; ++i) {
      const std::int32_t r = list[i];
      if (static_cast<std::uint32_t>(r) < n || outside(r)) list[kept++] = r;
    }
  }
  list.resize(kept);
}

// The conditions of a search that columns answer, run together over each part of the base.
class ColumnFilters {
 public:
  // Takes the check when a column answers it.
  bool Take(const SearchColumns& columns, ConditionCheck& check) {
    if (HasColumn(check.Field().code)) {
      numbers_.emplace_back(columns, check);
    } else if (check.OnNameAnyCase()) {
      names_.emplace_back(columns, check);
    } else if (check.Field().storage == FieldStorage::Products) {
      products_.push_back(RecordsWithProduct(
          columns,
          [&](std::int32_t item) { return check.ItemSatisfied(item) ? Walk::All : Walk::Skip; },
          [&](std::uint8_t, std::int64_t item) { return check.ItemSatisfied(item); }));
    } else {
      return false;
    }
    return true;
  }

  // Sets the words of records from .. to (from a multiple of 64) to whether every condition
  // taken holds.
  void Keep(std::uint64_t* words, std::int32_t from, std::int32_t to) const {
    const std::int32_t first = from / kBits;
    const std::int32_t last = (to + kBits - 1) / kBits;
    std::fill(words + first, words + last, ~std::uint64_t{0});
    for (const RecordSet& set : products_) {
      for (std::int32_t w = first; w < last; ++w) words[w] &= set.Words()[w];
    }
    for (const NumberFilter& filter : numbers_) filter.Keep(words, from, to);
    for (const NameFilter& filter : names_) filter.Keep(words, from, to);
  }

 private:
  std::vector<NumberFilter> numbers_;
  std::vector<NameFilter> names_;
  std::vector<RecordSet> products_;  // found through the posting lists before the parts
};

// Whether every number of the list is above the one before it; looked at in blocks without a
// branch inside, so the loop runs as vector code.
bool Ascending(const RecordList& list) {
  constexpr std::size_t kBlock = 4096;
  for (std::size_t from = 1; from < list.size(); from += kBlock) {
    bool falls = false;
    for (std::size_t i = from; i < std::min(list.size(), from + kBlock); ++i) {
      falls |= list[i] <= list[i - 1];
    }
    if (falls) return false;
  }
  return true;
}

// A products search that names few entries against a list in ascending order (the whole base
// and most saved lists are): each record found is looked up in the list, where walking the list
// would cost more than the search. False, with the list untouched, when the entries are many or
// the list is not in order.
bool KeepFewInAscending(const SearchColumns& columns, RecordList& list, const KeyLookup& lookup) {
  const std::size_t most = list.size() / 64;
  std::size_t entries = columns.OtherCount();
  for (std::int32_t item = 0; item < columns.Items() && entries <= most; ++item) {
    if (!lookup.Names(item)) continue;
    const auto [begin, end] = columns.PostingsOf(item);
    entries += end - begin;
  }
  if (entries > most || !Ascending(list)) return false;
  RecordList found;
  const auto take = [&](std::int32_t record, std::uint8_t kind, std::int64_t item) {
    if (lookup.Matches(kind, item)) found.push_back(record);
  };
  for (std::int32_t item = 0; item < columns.Items(); ++item) {
    if (!lookup.Names(item)) continue;
    const auto [begin, end] = columns.PostingsOf(item);
    for (std::uint32_t p = begin; p < end; ++p) {
      take(columns.PostingRecords()[p], columns.PostingKinds()[p], item);
    }
  }
  for (std::uint32_t q = 0; q < columns.OtherCount(); ++q) {
    take(columns.OtherRecords()[q], columns.OtherKinds()[q],
         static_cast<std::int64_t>(columns.OtherItems()[q]) - 1);
  }
  std::sort(found.begin(), found.end());
  RecordList kept;
  auto at = list.begin();
  for (const std::int32_t r : found) {
    at = std::lower_bound(at, list.end(), r);
    if (at == list.end()) break;
    if (*at == r && (kept.empty() || kept.back() != r)) kept.push_back(r);
  }
  if (kept.size() != list.size()) list.swap(kept);
  return true;
}

}  // namespace

bool WorthColumns(const SearchColumns& columns, const RecordList& list) {
  return list.size() * 16 >= static_cast<std::size_t>(columns.Records());
}

void KeepByColumns(const Tdm& dm, const SearchColumns& columns, RecordList& list,
                   std::vector<ConditionCheck>& checks) {
  ColumnFilters filters;
  std::vector<ConditionCheck*> rest;
  for (ConditionCheck& check : checks) {
    if (!filters.Take(columns, check)) rest.push_back(&check);
  }
  RecordSet passing(columns.Records());
  ForEachPart(static_cast<std::size_t>(columns.Records()), kBits,
              [&](int, std::size_t from, std::size_t to) {
                filters.Keep(passing.Words(), static_cast<std::int32_t>(from),
                             static_cast<std::int32_t>(to));
              });

  // Records outside the base read as empty for every condition, as in the record scan.
  const auto all = [&](std::int32_t r) {
    const RecordView view = dm.GetRecordView(r);
    return std::all_of(checks.begin(), checks.end(),
                       [&](ConditionCheck& c) { return c.Satisfied(view, r); });
  };
  if (rest.empty()) return KeepInSet(list, passing, all);
  RecordList kept;
  kept.reserve(list.size());
  for (const std::int32_t r : list) {
    const bool inside = r >= 0 && r < passing.Records();
    if (inside && !passing.Has(r)) continue;
    const RecordView view = dm.GetRecordView(r);
    const bool pass = inside ? std::all_of(rest.begin(), rest.end(),
                                           [&](ConditionCheck* c) { return c->Satisfied(view, r); })
                             : all(r);
    if (pass) kept.push_back(r);
  }
  if (kept.size() != list.size()) list.swap(kept);
}

void KeepByPostings(const SearchColumns& columns, RecordList& list, const KeyLookup& lookup) {
  if (KeepFewInAscending(columns, list, lookup)) return;
  const RecordSet set = RecordsWithProduct(
      columns,
      [&](std::int32_t item) {
        if (!lookup.Names(item)) return Walk::Skip;
        return lookup.NamesAnyKind(item) ? Walk::All : Walk::ByKind;
      },
      [&](std::uint8_t kind, std::int64_t item) { return lookup.Matches(kind, item); });
  KeepInSet(list, set, [](std::int32_t) { return false; });
}

}  // namespace zorel
