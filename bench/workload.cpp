#include "workload.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "data/data_module.h"
#include "data/text1251.h"

namespace zorel::bench {
namespace {

constexpr std::size_t kGram = 4;
constexpr std::int32_t kSample = 4000;

using Grams = std::set<std::string>;

bool CyrillicSmall(std::uint8_t c) { return c >= 0xE0 || c == 0xB8; }

// The runs of kGram letters of the text that are all Cyrillic once lower-cased; those written
// with some capital go to `folded` as well, when given.
Grams GramsOf(std::string_view text, Grams* folded = nullptr) {
  const std::string lower = Lower1251(text);
  Grams grams;
  for (std::size_t i = 0; i + kGram <= lower.size(); ++i) {
    const std::string gram = lower.substr(i, kGram);
    if (std::all_of(gram.begin(), gram.end(),
                    [](char c) { return CyrillicSmall(static_cast<std::uint8_t>(c)); })) {
      grams.insert(gram);
      if (folded != nullptr && text.substr(i, kGram) != gram) folded->insert(gram);
    }
  }
  return grams;
}

// In how many of the added sets each gram occurs.
class GramCounter {
 public:
  void Add(const Grams& grams) {
    for (const std::string& g : grams) ++counts_[g];
    ++sets_;
  }

  // Grams (among `allowed`, when given) ordered by how close their share of the sets is to
  // `share`; ties go by the gram itself, so every run chooses alike.
  std::vector<std::string> Closest(double share, const Grams* allowed = nullptr) const {
    std::vector<std::pair<double, std::string>> ranked;
    for (const auto& [gram, n] : counts_) {
      if (allowed != nullptr && !allowed->contains(gram)) continue;
      const double s =
          static_cast<double>(n) / static_cast<double>(std::max<std::size_t>(sets_, 1));
      ranked.emplace_back(std::abs(std::log(s / share)), gram);
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string> grams;
    for (auto& r : ranked) grams.push_back(std::move(r.second));
    return grams;
  }

 private:
  std::map<std::string, std::size_t> counts_;
  std::size_t sets_ = 0;
};

std::int32_t Step(std::int32_t count) { return std::max<std::int32_t>(1, count / kSample); }

struct Sampled {
  Grams name;
  Grams nameFolded;  // name grams written with some capital
  Grams products;    // of all its products' item names
  std::int32_t staff;
};

std::vector<Sampled> SampleRecords(const Tdm& dm) {
  std::unordered_map<std::int64_t, Grams> itemGrams;
  std::vector<Sampled> sample;
  for (std::int32_t r = 0; r < dm.RecordCount(); r += Step(dm.RecordCount())) {
    const RecordView v = dm.GetRecordView(r);
    if (!v.valid()) continue;
    Sampled s{{}, {}, {}, v.Staff()};
    s.name = GramsOf(CutAtZero(v.Field(VarField::Name)), &s.nameFolded);
    for (std::size_t i = 0; i < v.ProductCount(); ++i) {
      const std::int64_t item = static_cast<std::int64_t>(v.Product(i).item) - 1;
      auto it = itemGrams.find(item);
      if (it == itemGrams.end()) it = itemGrams.emplace(item, GramsOf(dm.ItemName(item))).first;
      s.products.insert(it->second.begin(), it->second.end());
    }
    sample.push_back(std::move(s));
  }
  if (sample.empty()) throw std::runtime_error("the base has no readable records");
  return sample;
}

}  // namespace

Workload ChooseWorkload(const Tdm& dm) {
  Workload w;
  const std::vector<Sampled> sample = SampleRecords(dm);

  std::vector<std::int32_t> staff;
  for (const Sampled& s : sample) staff.push_back(s.staff);
  std::sort(staff.begin(), staff.end());
  w.staffThreshold = staff[staff.size() * 9 / 10];

  // A name fragment that some names hold with capitals (so ignoring case matters) and some
  // large enterprises hold (so the three joined find some).
  GramCounter names;
  Grams folded, large;
  for (const Sampled& s : sample) {
    names.Add(s.name);
    folded.insert(s.nameFolded.begin(), s.nameFolded.end());
    if (s.staff > w.staffThreshold) large.insert(s.name.begin(), s.name.end());
  }
  Grams wanted;
  std::set_intersection(folded.begin(), folded.end(), large.begin(), large.end(),
                        std::inserter(wanted, wanted.end()));
  const auto nameGrams = names.Closest(0.05, wanted.empty() ? nullptr : &wanted);
  if (nameGrams.empty()) throw std::runtime_error("no Cyrillic text in the names");
  w.nameFragment = nameGrams.front();

  // The product fragment also occurs among the products of enterprises that pass the other
  // two conditions, so the three joined still find some.
  GramCounter products;
  Grams joined;
  for (const Sampled& s : sample) {
    products.Add(s.products);
    if (s.name.contains(w.nameFragment) && s.staff > w.staffThreshold) {
      joined.insert(s.products.begin(), s.products.end());
    }
  }
  auto productGrams = products.Closest(0.05, joined.empty() ? nullptr : &joined);
  if (productGrams.empty()) throw std::runtime_error("no Cyrillic text in the item names");
  w.productFragment = productGrams.front();

  // Rare enough among item names that fifty of them stay below the scan's limit, so the scan
  // runs to the last item.
  GramCounter items;
  for (std::int32_t i = 0; i < dm.ItemCount(); i += Step(dm.ItemCount())) {
    items.Add(GramsOf(dm.ItemName(i)));
  }
  w.scanFragments.push_back(w.productFragment);
  for (const std::string& g : items.Closest(0.002)) {
    if (w.scanFragments.size() == 50) break;
    if (g != w.productFragment) w.scanFragments.push_back(g);
  }

  for (std::int32_t r = dm.RecordCount() / 2; r < dm.RecordCount(); ++r) {
    const RecordView v = dm.GetRecordView(r);
    if (v.valid() && v.ProductCount() > 0) {
      w.oneKey = ProductKey{0, static_cast<std::int64_t>(v.Product(0).item) - 1};
      break;
    }
  }
  return w;
}

}  // namespace zorel::bench
