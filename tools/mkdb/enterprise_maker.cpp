// The drawing rules of the synthetic enterprises.
#include "mkdb/enterprise_maker.h"

#include <algorithm>

#include "mkdb/gen_text.h"

namespace zorel::mkdb {
namespace {

// Ownership forms (1-based positions of OrgFormTable, 0 none) with weights, by name pattern:
// old state enterprises, named industrial enterprises, compound names, trading firms.
const std::vector<std::vector<std::pair<int, int>>> kForms = {
    {{0, 5}, {1, 45}, {2, 10}, {5, 15}, {6, 20}, {7, 5}},
    {{1, 25}, {2, 25}, {3, 20}, {4, 10}, {5, 10}, {11, 5}, {8, 5}},
    {{1, 50}, {2, 20}, {3, 15}, {6, 15}},
    {{3, 35}, {4, 25}, {8, 15}, {2, 10}, {9, 4}, {10, 4}, {11, 4}, {12, 3}},
};

// Staff sizes come from one of these bands; each pattern has its range of bands.
const int kStaffEdges[] = {1, 5, 10, 30, 100, 300, 1000, 3000, 10000, 25000};
const int kStaffBands[][2] = {{4, 8}, {2, 6}, {3, 7}, {0, 4}};

void AppendNumber(std::string& out, int n, int width = 0) {
  char buf[16];
  int len = 0;
  do {
    buf[len++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0);
  while (len < width) buf[len++] = '0';
  while (len > 0) out.push_back(buf[--len]);
}

}  // namespace

EnterpriseMaker::EnterpriseMaker(const Catalog& catalog, const Vocabulary& words,
                                 std::uint64_t seed)
    : catalog_(catalog), w_(words), rng_(seed), patterns_({30, 20, 12, 38}) {
  for (const auto& forms : kForms) {
    std::vector<int> weights, values;
    for (auto [form, weight] : forms) {
      values.push_back(form);
      weights.push_back(weight);
    }
    formWeights_.emplace_back(weights);
    formValues_.push_back(values);
  }
  cityPrefix_ = Cp("г. ");
  office_ = Cp(", оф. ");
  block_ = Cp(", корп. ");
  phoneIntro_ = Cp("Справки по телефону ");
  and_ = Cp(" и ");
}

void EnterpriseMaker::Make(EnterpriseSource& e, Drawn& drawn) {
  drawn.city = w_.cityWeights.Draw(rng_);
  drawn.subBranch = rng_.Below(static_cast<std::uint32_t>(catalog_.subBranches.size()));
  const City& city = w_.cities[drawn.city];
  const SubBranch& sub = catalog_.subBranches[drawn.subBranch];
  const auto p = static_cast<Pattern>(patterns_.Draw(rng_));

  Name(e, p, sub, city);
  e.orgForm = static_cast<std::int8_t>(formValues_[p][formWeights_[p].Draw(rng_)]);
  e.year = Year(p);
  e.staff = Staff(p);
  e.country = static_cast<std::int16_t>(city.info->country);
  e.region = static_cast<std::int16_t>(city.info->region);
  e.index.assign(city.info->indexPrefix);
  AppendNumber(e.index, city.info->indexBase + rng_.Between(0, city.info->indexSpan),
               city.info->indexDigits);
  e.cityCode.assign(city.info->phoneCode);
  Address(e.address, city, p);
  Person(e.head);
  e.phones.clear();
  const int phones = rng_.Percent(60) ? 1 : rng_.Between(2, 3);
  for (int i = 0; i < phones; ++i) {
    if (i > 0) e.phones += ", ";
    Phone(e.phones, city.info->phoneDigits);
  }
  e.fax.clear();
  if (rng_.Percent(75)) Phone(e.fax, city.info->phoneDigits);
  Mail(e, p, city);
  e.advert.clear();
  if (rng_.Below(5) == 0) Advert(e.advert, sub, e);
  Products(e, sub, p);
}

void EnterpriseMaker::Name(EnterpriseSource& e, Pattern p, const SubBranch& sub, const City& city) {
  std::string& name = e.name;
  name.clear();
  brand_.clear();
  const auto& [phrase, gender] = rng_.Pick(sub.phrases);
  switch (p) {
    case kCityIndustry:
      AppendAdjective(name, city.adjectiveStem, gender);
      name += ' ';
      name += phrase;
      break;
    case kIndustryBrand:
      Brand(brand_, false);
      name = phrase;
      CapitalizeFirst(name);
      name += " \xAB" + brand_ + "\xBB";
      break;
    case kCompound:
      name = city.compound;
      name += rng_.Pick(sub.stems);
      break;
    case kTrade: {
      Brand(brand_, true);
      const Frame& f = rng_.Pick(w_.tradeFrames);
      name = f.prefix + brand_ + f.suffix;
      break;
    }
  }
}

void EnterpriseMaker::Brand(std::string& out, bool madeUp) {
  if (!madeUp || rng_.Percent(45)) {
    out = rng_.Pick(w_.brands);
  } else {
    out = rng_.Pick(w_.brandHeads);
    out += rng_.Pick(w_.brandTails);
  }
}

void EnterpriseMaker::Person(std::string& out) {
  const bool male = rng_.Percent(80);
  const std::size_t surname = rng_.Below(static_cast<std::uint32_t>(w_.maleSurnames.size()));
  const std::string& first = male ? rng_.Pick(w_.maleNames) : rng_.Pick(w_.femaleNames);
  const std::string& father = rng_.Pick(w_.patronymicStems);
  out = male ? w_.maleSurnames[surname] : w_.femaleSurnames[surname];
  out += ' ';
  if (rng_.Percent(50)) {
    out += first;
    out += ' ';
    out += father;
    out += male ? "\xE8\xF7" : "\xED\xE0";  // -ич, -на
  } else {
    out += first[0];
    out += '.';
    out += father[0];
    out += '.';
  }
}

void EnterpriseMaker::Phone(std::string& out, int digits) {
  const int head = digits - 4;  // digits before the last two pairs
  int lead = rng_.Between(2, 7);
  for (int i = 1; i < head; ++i) lead = lead * 10 + rng_.Between(0, 9);
  AppendNumber(out, lead);
  out += '-';
  AppendNumber(out, rng_.Between(0, 99), 2);
  out += '-';
  AppendNumber(out, rng_.Between(0, 99), 2);
}

void EnterpriseMaker::Address(std::string& out, const City& city, Pattern p) {
  out = cityPrefix_;
  out += city.name;
  out += ", ";
  out += rng_.Pick(w_.streets);
  out += ", ";
  AppendNumber(out, rng_.Between(1, p == kCityIndustry ? 60 : 150));
  if (rng_.Percent(8)) {
    out += '/';
    AppendNumber(out, rng_.Between(1, 5));
  } else if (rng_.Percent(8)) {
    out += rng_.Percent(60) ? "\xE0" : "\xE1";  // а, б
  }
  if (rng_.Percent(12)) {
    out += block_;
    AppendNumber(out, rng_.Between(1, 4));
  }
  if (p == kTrade && rng_.Percent(40)) {
    out += office_;
    AppendNumber(out, rng_.Between(1, 120));
  }
}

void EnterpriseMaker::Mail(EnterpriseSource& e, Pattern p, const City& city) {
  e.email.clear();
  e.url.clear();
  static const int kChance[] = {70, 55, 70, 60};
  if (!rng_.Percent(kChance[p])) return;
  latin_.clear();
  if (!brand_.empty()) {
    AppendLatin(latin_, brand_);
  } else if (p == kCompound) {
    AppendLatin(latin_, e.name);
  } else {
    // Initials of the name's words: "Минский молочный комбинат" gives "mmk".
    bool wordStart = true;
    for (const char ch : e.name) {
      if (ch == ' ') {
        wordStart = true;
      } else if (wordStart) {
        AppendLatin(latin_, std::string_view(&ch, 1));
        wordStart = false;
      }
    }
    if (rng_.Percent(50)) AppendLatin(latin_, city.name);
  }
  if (latin_.empty()) return;
  const std::string& tld = w_.countryDomains[static_cast<std::size_t>(city.info->country - 1)];
  e.email = rng_.Pick(w_.mailboxes);
  e.email += '@';
  e.email += latin_;
  e.email += '.';
  e.email += tld;
  if (rng_.Percent(50)) {
    e.url = "www.";
    e.url += latin_;
    e.url += '.';
    e.url += tld;
  }
}

void EnterpriseMaker::Advert(std::string& out, const SubBranch& sub, const EnterpriseSource& e) {
  const Frame& opening = rng_.Pick(w_.advertOpenings);
  out = opening.prefix;
  const int n = std::min<int>(rng_.Between(1, 3), static_cast<int>(sub.groups.size()));
  const std::size_t first = rng_.Below(static_cast<std::uint32_t>(sub.groups.size()));
  for (int i = 0; i < n; ++i) {
    if (i > 0) out += i == n - 1 ? and_ : std::string(", ");
    out += sub.groups[(first + static_cast<std::size_t>(i)) % sub.groups.size()];
  }
  out += opening.suffix;
  const int sentences = rng_.Between(1, 3);
  const std::size_t from = rng_.Below(static_cast<std::uint32_t>(w_.advertSentences.size()));
  for (int i = 0; i < sentences; ++i) {
    out += rng_.Percent(30) ? "\r\n" : " ";
    out += w_.advertSentences[(from + static_cast<std::size_t>(i)) % w_.advertSentences.size()];
  }
  if (!e.phones.empty() && rng_.Percent(30)) {
    out += "\r\n";
    out += phoneIntro_;
    out += '(';
    out += e.cityCode;
    out += ") ";
    out += e.phones.substr(0, e.phones.find(','));
    out += '.';
  }
}

void EnterpriseMaker::Products(EnterpriseSource& e, const SubBranch& sub, Pattern p) {
  picked_.clear();
  auto pickFrom = [&](const SubBranch& s, int n) {
    for (int i = 0; i < n; ++i) {
      const std::uint32_t item = rng_.Pick(s.products);
      if (std::find(picked_.begin(), picked_.end(), item) == picked_.end()) {
        picked_.push_back(item);
      }
    }
  };
  pickFrom(sub, rng_.Percent(70) ? rng_.Between(1, 5) : rng_.Between(6, 12));
  if (rng_.Percent(20)) {
    const SubBranch& other =
        catalog_.subBranches[rng_.Below(static_cast<std::uint32_t>(catalog_.subBranches.size()))];
    if (other.branch == sub.branch) pickFrom(other, rng_.Between(1, 3));
  }
  std::sort(picked_.begin(), picked_.end());
  e.products.clear();
  for (const std::uint32_t item : picked_) {
    int kind = 1;
    const int r = static_cast<int>(rng_.Below(100));
    if (p == kTrade) {
      kind = r < 45 ? 2 : r < 70 ? 3 : 1;
    } else {
      kind = r < 85 ? 1 : r < 95 ? 2 : 3;
    }
    e.products.emplace_back(static_cast<std::uint8_t>(kind), item);
  }
}

int EnterpriseMaker::Staff(Pattern p) {
  const int band = rng_.Between(kStaffBands[p][0], kStaffBands[p][1]);
  return rng_.Between(kStaffEdges[band], kStaffEdges[band + 1] - 1);
}

std::int16_t EnterpriseMaker::Year(Pattern p) {
  if (rng_.Percent(5)) return 0;
  switch (p) {
    case kCityIndustry:
    case kCompound:
      return static_cast<std::int16_t>(rng_.Percent(70) ? rng_.Between(1924, 1990)
                                                        : rng_.Between(1991, 2002));
    case kIndustryBrand:
      return static_cast<std::int16_t>(rng_.Between(1950, 2002));
    case kTrade:
      break;
  }
  return static_cast<std::int16_t>(rng_.Between(1991, 2003));
}

}  // namespace zorel::mkdb
