// How the enterprises of a list spread: counts by region, country, organisation form, staff
// band, founding decade, and the most frequent product items, each as bars (a label, a count
// and the key a bar stands for). The head's numbers come from the search file's columns when
// the base has them (a few bytes a record, no record read), else from the records; the items
// from its posting lists, else from the records' product entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/record_list.h"

namespace zorel {

class Tdm;

enum class SummaryAxis { Region, Country, OrgForm, Staff, Decade, Products };
inline constexpr int kSummaryAxes = 6;
inline constexpr std::array<SummaryAxis, kSummaryAxes> kAllSummaryAxes = {
    SummaryAxis::Region, SummaryAxis::Country, SummaryAxis::OrgForm,
    SummaryAxis::Staff,  SummaryAxis::Decade,  SummaryAxis::Products};
// How many product items the summary names.
inline constexpr std::size_t kSummaryItems = 20;

// The axis's command-line word ("region", "country", "orgform", "staff", "decade",
// "products") and its caption (UTF-8).
std::string_view SummaryAxisWord(SummaryAxis axis);
std::string_view SummaryAxisCaption(SummaryAxis axis);
std::optional<SummaryAxis> SummaryAxisFromWord(std::string_view word);

struct SummaryBar {
  std::string label;  // Windows-1251
  std::int64_t count = 0;
  // What the bar stands for: the dictionary code (0 none), the staff band (0..4, -1 none), the
  // decade's first year (0 none) or the 0-based item.
  std::int64_t key = 0;
};

// Dictionary axes by count (most first), staff bands and decades in their order, items the
// kSummaryItems most frequent by the number of records listing them. Bars of no record are
// left out. Records outside the base count nowhere.
std::vector<SummaryBar> SummarizeList(const Tdm& dm, const RecordList& list, SummaryAxis axis);

// The records of the list a bar counts, in list order.
RecordList RecordsOfBar(const Tdm& dm, const RecordList& list, SummaryAxis axis, std::int64_t key);

}  // namespace zorel
