// The item-name scan of the product search: capital-letter skip, lower-casing and the limit.
#include "data/item_scan.h"

#include <gtest/gtest.h>

#include "data/data_module.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

using test_support::OpenBase;
using test_support::SampleBase;
using test_support::W;

using Items = std::vector<std::int32_t>;

std::vector<std::string> Fragments(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* f : utf8) out.push_back(W(f));
  return out;
}

// Sample items: 0 Станки, 1 станок токарный, 2 болт м12, 3 анкерный болт, 4 Станок фрезерный,
// 5 гайка, 6 1С-программа, 7 цемент.
TEST(ItemScan, ListsNamesContainingAFragmentInItemOrder) {
  OpenBase base(SampleBase());
  struct Case {
    const char* what;
    std::vector<std::string> fragments;
    Items expected;
  };
  const Case cases[] = {
      {"a fragment anywhere in the name", Fragments({"болт"}), {2, 3}},
      {"capitalised names are skipped", Fragments({"станок"}), {1}},
      {"names are lower-cased before the search", Fragments({"1с"}), {6}},
      {"fragments are lower-cased too", Fragments({"БОЛТ"}), {2, 3}},
      {"any of several fragments", Fragments({"цем", "", "гайк"}), {5, 7}},
      {"each name once", Fragments({"болт", "м12"}), {2, 3}},
      {"no fragments", {}, {}},
      {"only empty fragments", Fragments({""}), {}},
  };
  for (const Case& c : cases) {
    const ItemScanResult r = ScanItemNames(base.dm(), c.fragments);
    EXPECT_EQ(r.items, c.expected) << c.what;
    EXPECT_FALSE(r.limitReached) << c.what;
  }
}

TEST(ItemScan, SkipsLatinAndCyrillicCapitalsButNotYo) {
  BaseSource source = SampleBase();
  source.items = {W("Zebra ёлка"), W("Ёлка"), W("ЯЁЛКА"), W("ёлки"), W(" Ёлка"), W("Аёлка")};
  OpenBase base(source);
  EXPECT_EQ(ScanItemNames(base.dm(), Fragments({"ёлк"})).items, (Items{1, 3, 4}));
}

BaseSource ManyItems(int matching) {
  BaseSource source = SampleBase();
  source.items = {W("другое")};
  for (int i = 0; i < matching; ++i) source.items.push_back(W("деталь ") + std::to_string(i));
  return source;
}

TEST(ItemScan, ListsAtMostTheFirst10000Names) {
  struct Case {
    int matching;
    std::size_t listed;
    bool limit;
  };
  for (const Case c :
       {Case{9999, 9999, false}, Case{10000, 10000, true}, Case{10001, 10000, true}}) {
    OpenBase base(ManyItems(c.matching));
    const ItemScanResult r = ScanItemNames(base.dm(), Fragments({"деталь"}));
    EXPECT_EQ(r.items.size(), c.listed) << c.matching;
    EXPECT_EQ(r.limitReached, c.limit) << c.matching;
    ASSERT_FALSE(r.items.empty());
    EXPECT_EQ(r.items.front(), 1);
    EXPECT_EQ(r.items.back(), static_cast<std::int32_t>(c.listed));
  }
}

}  // namespace
}  // namespace zorel
