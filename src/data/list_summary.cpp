#include "data/list_summary.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

#include "data/data_module.h"
#include "data/field_table.h"
#include "data/search_columns.h"
#include "data/text1251.h"

namespace zorel {
namespace {

struct AxisNames {
  SummaryAxis axis;
  const char* word;
  const char* caption;
};

constexpr AxisNames kAxisNames[] = {
    {SummaryAxis::Region, "region", "Регионы"},
    {SummaryAxis::Country, "country", "Страны"},
    {SummaryAxis::OrgForm, "orgform", "Формы собственности"},
    {SummaryAxis::Staff, "staff", "Численность"},
    {SummaryAxis::Decade, "decade", "Годы основания"},
    {SummaryAxis::Products, "products", "Продукция"},
};

// Upper ends of the staff bands; a staff above the last is the last band.
constexpr std::int32_t kBandTops[] = {10, 50, 250, 1000};
constexpr const char* kBandLabels[] = {"1–10", "11–50", "51–250", "251–1000", "более 1000"};
constexpr std::int64_t kNoBand = -1;

std::string Cp(const char* utf8) { return FromUtf8(utf8).value_or(std::string()); }

int FieldOfAxis(SummaryAxis axis) {
  switch (axis) {
    case SummaryAxis::Region:
      return kFieldRegion;
    case SummaryAxis::Country:
      return kFieldCountry;
    case SummaryAxis::OrgForm:
      return kFieldOrgForm;
    case SummaryAxis::Staff:
      return kFieldStaff;
    case SummaryAxis::Decade:
      return kFieldYear;
    case SummaryAxis::Products:
      break;
  }
  return -1;
}

bool InBase(const Tdm& dm, std::int32_t record) { return record >= 0 && record < dm.RecordCount(); }

// A head number of a record as the columns or the record give it.
class HeadReader {
 public:
  HeadReader(const Tdm& dm, int field) : dm_(dm), field_(FieldOf(field)), columns_(dm.Columns()) {
    if (columns_ != nullptr) column_ = columns_->Column(field);
  }
  std::int32_t operator()(std::int32_t record) const {
    if (column_ == nullptr) return dm_.GetRecordView(record).HeadNumber(field_.offset, field_.size);
    const std::uint8_t* p = column_ + static_cast<std::size_t>(record) * field_.size;
    switch (field_.size) {
      case 1:
        return static_cast<std::int8_t>(*p);
      case 2: {
        std::int16_t v;
        std::memcpy(&v, p, 2);
        return v;
      }
      default: {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return v;
      }
    }
  }

 private:
  const Tdm& dm_;
  const FieldInfo& field_;
  const SearchColumns* columns_;
  const std::uint8_t* column_ = nullptr;
};

// The key a head value falls under on an axis.
std::int64_t KeyOf(const Tdm& dm, SummaryAxis axis, std::int32_t value) {
  switch (axis) {
    case SummaryAxis::Staff: {
      if (value <= 0) return kNoBand;
      const auto* band = std::lower_bound(std::begin(kBandTops), std::end(kBandTops), value);
      return band - std::begin(kBandTops);
    }
    case SummaryAxis::Decade:
      return value > 0 ? value / 10 * 10 : 0;
    default: {
      const auto& entries = dm.Dictionary(FieldOf(FieldOfAxis(axis)).dictionary);
      return value > 0 && static_cast<std::size_t>(value) <= entries.size() ? value : 0;
    }
  }
}

std::string LabelOf(const Tdm& dm, SummaryAxis axis, std::int64_t key) {
  switch (axis) {
    case SummaryAxis::Staff:
      return key == kNoBand ? Cp("не указана") : Cp(kBandLabels[key]);
    case SummaryAxis::Decade:
      return key == 0 ? Cp("не указан") : std::to_string(key) + "-" + std::to_string(key + 9);
    case SummaryAxis::Products:
      return dm.GetItemName(key);
    default:
      return key == 0
                 ? Cp("не указан")
                 : dm.GetEntry(FieldOf(FieldOfAxis(axis)).dictionary, static_cast<int>(key) - 1);
  }
}

// Which records of the base the list holds.
std::vector<std::uint8_t> Members(const Tdm& dm, const RecordList& list) {
  std::vector<std::uint8_t> in(static_cast<std::size_t>(std::max(dm.RecordCount(), 0)), 0);
  for (const std::int32_t r : list) {
    if (InBase(dm, r)) in[static_cast<std::size_t>(r)] = 1;
  }
  return in;
}

// Records of the list per item (0-based), each record once however often it lists the item.
std::unordered_map<std::int64_t, std::int64_t> CountItems(const Tdm& dm, const RecordList& list) {
  std::unordered_map<std::int64_t, std::int64_t> counts;
  if (const SearchColumns* columns = dm.Columns()) {
    const std::vector<std::uint8_t> in = Members(dm, list);
    const std::int32_t* records = columns->PostingRecords();
    for (std::int32_t item = 0; item < columns->Items(); ++item) {
      const auto [begin, end] = columns->PostingsOf(item);
      std::int64_t n = 0;
      std::int32_t last = -1;
      for (std::uint32_t p = begin; p < end; ++p) {
        const std::int32_t r = records[p];
        if (r != last && InBase(dm, r) && in[static_cast<std::size_t>(r)]) ++n;
        last = r;
      }
      if (n > 0) counts[item] = n;
    }
    return counts;
  }
  const std::vector<std::uint8_t> in = Members(dm, list);
  std::vector<std::int64_t> seen;
  for (std::int32_t r = 0; r < dm.RecordCount(); ++r) {
    if (!in[static_cast<std::size_t>(r)]) continue;
    const RecordView view = dm.GetRecordView(r);
    seen.clear();
    for (std::size_t i = 0; i < view.ProductCount(); ++i) {
      const std::int64_t item = static_cast<std::int64_t>(view.Product(i).item) - 1;
      if (item < 0 || item >= dm.ItemCount()) continue;
      if (std::find(seen.begin(), seen.end(), item) != seen.end()) continue;
      seen.push_back(item);
      ++counts[item];
    }
  }
  return counts;
}

std::vector<SummaryBar> ItemBars(const Tdm& dm, const RecordList& list) {
  const auto counts = CountItems(dm, list);
  std::vector<SummaryBar> bars;
  bars.reserve(counts.size());
  for (const auto& [item, n] : counts) bars.push_back({std::string(), n, item});
  const auto more = [](const SummaryBar& a, const SummaryBar& b) {
    return a.count != b.count ? a.count > b.count : a.key < b.key;
  };
  const std::size_t keep = std::min(bars.size(), kSummaryItems);
  std::partial_sort(bars.begin(), bars.begin() + static_cast<std::ptrdiff_t>(keep), bars.end(),
                    more);
  bars.resize(keep);
  for (SummaryBar& bar : bars) bar.label = LabelOf(dm, SummaryAxis::Products, bar.key);
  return bars;
}

}  // namespace

std::string_view SummaryAxisWord(SummaryAxis axis) {
  for (const AxisNames& n : kAxisNames) {
    if (n.axis == axis) return n.word;
  }
  return {};
}

std::string_view SummaryAxisCaption(SummaryAxis axis) {
  for (const AxisNames& n : kAxisNames) {
    if (n.axis == axis) return n.caption;
  }
  return {};
}

std::optional<SummaryAxis> SummaryAxisFromWord(std::string_view word) {
  for (const AxisNames& n : kAxisNames) {
    if (word == n.word) return n.axis;
  }
  return std::nullopt;
}

std::vector<SummaryBar> SummarizeList(const Tdm& dm, const RecordList& list, SummaryAxis axis) {
  if (axis == SummaryAxis::Products) return ItemBars(dm, list);
  const HeadReader read(dm, FieldOfAxis(axis));
  std::map<std::int64_t, std::int64_t> counts;
  for (const std::int32_t r : list) {
    if (InBase(dm, r)) ++counts[KeyOf(dm, axis, read(r))];
  }
  std::vector<SummaryBar> bars;
  for (const auto& [key, n] : counts) bars.push_back({LabelOf(dm, axis, key), n, key});
  const bool ordered = axis == SummaryAxis::Staff || axis == SummaryAxis::Decade;
  if (ordered) {
    // "None" goes last, after the bands and decades in their order.
    const std::int64_t none = axis == SummaryAxis::Staff ? kNoBand : 0;
    std::stable_partition(bars.begin(), bars.end(),
                          [none](const SummaryBar& b) { return b.key != none; });
  } else {
    std::stable_sort(bars.begin(), bars.end(),
                     [](const SummaryBar& a, const SummaryBar& b) { return a.count > b.count; });
  }
  return bars;
}

RecordList RecordsOfBar(const Tdm& dm, const RecordList& list, SummaryAxis axis, std::int64_t key) {
  RecordList found;
  const SearchColumns* columns = dm.Columns();
  if (axis == SummaryAxis::Products && columns != nullptr && key >= 0 && key < columns->Items()) {
    std::vector<std::uint8_t> lists(static_cast<std::size_t>(std::max(dm.RecordCount(), 0)), 0);
    const auto [begin, end] = columns->PostingsOf(static_cast<std::int32_t>(key));
    for (std::uint32_t p = begin; p < end; ++p) {
      const std::int32_t r = columns->PostingRecords()[p];
      if (InBase(dm, r)) lists[static_cast<std::size_t>(r)] = 1;
    }
    for (const std::int32_t r : list) {
      if (InBase(dm, r) && lists[static_cast<std::size_t>(r)]) found.push_back(r);
    }
    return found;
  }
  if (axis == SummaryAxis::Products) {
    for (const std::int32_t r : list) {
      if (!InBase(dm, r)) continue;
      const RecordView view = dm.GetRecordView(r);
      for (std::size_t i = 0; i < view.ProductCount(); ++i) {
        if (static_cast<std::int64_t>(view.Product(i).item) - 1 == key) {
          found.push_back(r);
          break;
        }
      }
    }
    return found;
  }
  const HeadReader read(dm, FieldOfAxis(axis));
  for (const std::int32_t r : list) {
    if (InBase(dm, r) && KeyOf(dm, axis, read(r)) == key) found.push_back(r);
  }
  return found;
}

}  // namespace zorel
