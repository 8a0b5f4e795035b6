#include "reference_matcher.h"

#include <algorithm>

#include "data/text1251.h"
#include "data/text_ops.h"

namespace zorel::fuzz {
namespace {

// A text test on the field's bytes: contains looks at the first kContainsWindow bytes up to a
// zero byte and never finds an empty value; equals compares all bytes; empty asks for none.
bool TextTest(const Condition& c, std::string_view field) {
  const std::string_view value = c.value;
  switch (c.op) {
    case kOpContains: {
      std::string text(CutAtZero(field.substr(0, kContainsWindow)));
      std::string sought(CutAtZero(value));
      if (sought.empty()) return false;
      if (!c.caseSensitive) {
        text = Upper1251(text);
        sought = Upper1251(sought);
      }
      return text.find(sought) != std::string::npos;
    }
    case kOpEquals:
      return c.caseSensitive ? field == value : Upper1251(field) == Upper1251(value);
    default:
      return field.empty();
  }
}

bool NumberTest(const Condition& c, std::int32_t field) {
  switch (c.op) {
    case kOpEquals:
      return field == c.number;
    case kOpGreater:
      return field > c.number;
    case kOpLess:
      return field < c.number;
    case kOpGreaterEq:
      return field >= c.number;
    default:
      return field <= c.number;
  }
}

std::string_view VarText(const RecordView& r, int field) {
  switch (field) {
    case kFieldName:
      return r.Field(VarField::Name);
    case kFieldAddress:
      return r.Field(VarField::Address);
    case kFieldHead:
      return r.Field(VarField::Head);
    case kFieldFax:
      return r.Field(VarField::Fax);
    case kFieldPhones:
      return r.Field(VarField::Phones);
    case kFieldAdvert:
      return r.Field(VarField::Advert);
    case kFieldEMail:
      return r.Field(VarField::EMail);
    default:
      return r.Field(VarField::Url);
  }
}

// Dictionary fields: no entry (a stored 0 or less) satisfies any condition; an index past the
// dictionary reads as empty text.
bool DictionarySatisfied(const Condition& c, const std::vector<std::string>& list, int stored) {
  if (stored <= 0) return true;
  const auto i = static_cast<std::size_t>(stored - 1);
  return TextTest(c, i < list.size() ? list[i] : std::string()) == (c.expected == 1);
}

bool Satisfied(const Tdm& dm, const RecordView& r, std::int32_t number, const Condition& c) {
  const bool expected = c.expected == 1;
  switch (c.field) {
    case kFieldYear:
      return NumberTest(c, r.Year());
    case kFieldStaff:
      return NumberTest(c, r.Staff());
    case kFieldOrgForm:
      return DictionarySatisfied(c, dm.OrgForms(), r.OrgForm());
    case kFieldRegion:
      return DictionarySatisfied(c, dm.Regions(), r.Region());
    case kFieldCountry:
      return DictionarySatisfied(c, dm.Countries(), r.Country());
    case kFieldIndex:
      return TextTest(c, Strip(CutAtZero(r.IndexRaw()))) == expected;
    case kFieldCityCode:
      return TextTest(c, Strip(CutAtZero(r.CityCodeRaw()))) == expected;
    case kFieldRemark: {
      const std::string remark = r.valid() ? dm.GetRemark(number) : std::string();
      return TextTest(c, Strip(remark)) == expected;
    }
    case kFieldProducts: {
      // Some product whose name gives the expected outcome; never without products.
      for (std::size_t i = 0; i < r.ProductCount(); ++i) {
        const std::string name = dm.GetItemName(static_cast<std::int64_t>(r.Product(i).item) - 1);
        if (TextTest(c, name) == expected) return true;
      }
      return false;
    }
    default:
      return TextTest(c, VarText(r, c.field)) == expected;
  }
}

}  // namespace

RecordList ReferenceMatchConditions(const Tdm& dm, const RecordList& list,
                                    const std::vector<Condition>& conditions) {
  RecordList kept;
  for (const std::int32_t number : list) {
    const RecordView r = dm.GetRecordView(number);
    if (std::all_of(conditions.begin(), conditions.end(),
                    [&](const Condition& c) { return Satisfied(dm, r, number, c); })) {
      kept.push_back(number);
    }
  }
  return kept;
}

RecordList ReferenceMatchProducts(const Tdm& dm, const RecordList& list,
                                  const std::vector<ProductKey>& keys) {
  RecordList kept;
  for (const std::int32_t number : list) {
    const RecordView r = dm.GetRecordView(number);
    bool match = false;
    for (std::size_t i = 0; i < r.ProductCount() && !match; ++i) {
      const ProductEntry e = r.Product(i);
      for (const ProductKey& k : keys) {
        if ((k.kind == 0 || k.kind == e.kind) && static_cast<std::int64_t>(e.item) - 1 == k.item) {
          match = true;
          break;
        }
      }
    }
    if (match) kept.push_back(number);
  }
  return kept;
}

ItemScanResult ReferenceScanItemNames(const Tdm& dm, const std::vector<std::string>& fragments) {
  ItemScanResult result;
  for (std::int32_t item = 0; item < dm.ItemCount(); ++item) {
    const std::string name = dm.GetItemName(item);
    if (name.empty() || IsScanCapital(static_cast<std::uint8_t>(name[0]))) continue;
    const std::string lower = Lower1251(name);
    const bool found = std::any_of(fragments.begin(), fragments.end(), [&](const std::string& f) {
      return !f.empty() && lower.find(Lower1251(f)) != std::string::npos;
    });
    if (!found) continue;
    if (result.items.size() == static_cast<std::size_t>(kItemScanLimit)) break;
    result.items.push_back(item);
    result.limitReached = result.items.size() == static_cast<std::size_t>(kItemScanLimit);
  }
  return result;
}

}  // namespace zorel::fuzz
