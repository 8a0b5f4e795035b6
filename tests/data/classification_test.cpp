// The classification tree: which entries a node shows as children, in what order, and which
// product keys a choice of nodes stands for.
#include "data/classification.h"

#include <gtest/gtest.h>

#include "data/data_module.h"
#include "data/matcher.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

using test_support::OpenBase;
using test_support::SampleBase;
using test_support::W;

using Codes = std::array<std::uint32_t, 5>;

std::vector<std::string> Captions(const std::vector<ClassChild>& children) {
  std::vector<std::string> captions;
  for (const ClassChild& c : children) captions.push_back(c.caption);
  return captions;
}

// Every field of a node, and whether it can expand: one comparison for a whole node.
std::string Describe(const TClassInfo& n) {
  std::string s;
  for (const std::uint32_t c : n.codes) s += std::to_string(c) + ".";
  return s + " level " + std::to_string(n.level) + " entry " + std::to_string(n.entryId) +
         " item " + std::to_string(n.item) + " count " + std::to_string(n.count) + " kind " +
         std::to_string(n.kind) + (n.loaded ? " loaded" : "") +
         (n.Expandable() ? " expandable" : "");
}

TClassInfo Node(Tdm& dm, const Codes& codes) {
  const auto node = FindNode(dm, codes);
  if (!node) throw std::runtime_error("no such node");
  return *node;
}

// Sample classification: 1 Станки > 1.1 станок токарный > 1.1.1 болт м12 > 1.1.1.1 анкерный
// болт > 1.1.1.1.1 Станок фрезерный (count 1); 2 гайка > 2.3 цемент (count 0), 2.4
// 1С-программа (count 1, kind 0).
TEST(ClassTree, ExpandsEachLevelByTheChildrenRule) {
  OpenBase base(SampleBase());
  Tdm& dm = base.dm();
  struct Case {
    Codes node;
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0}, {W("гайка"), W("Станки")}},  // Russian order, case-blind
      {{1, 0, 0, 0, 0}, {W("станок токарный")}},
      {{1, 1, 0, 0, 0}, {W("болт м12")}},
      {{1, 1, 1, 0, 0}, {W("анкерный болт")}},
      {{1, 1, 1, 1, 0}, {W("Станок фрезерный")}},
      {{1, 1, 1, 1, 1}, {}},                   // level 5, and a leaf
      {{2, 0, 0, 0, 0}, {W("1С-программа")}},  // the count-0 entry stays hidden
      {{2, 4, 0, 0, 0}, {}},                   // count 1: a leaf
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Captions(ExpandNode(dm, Node(dm, c.node))), c.captions) << c.node[0] << c.node[1];
  }
}

// Children carry their path and state; only fifth-level entries carry their item.
TEST(ClassTree, NodesCarryTheirPathAndState) {
  OpenBase base(SampleBase());
  Tdm& dm = base.dm();
  const auto top = ExpandNode(dm, TClassInfo::Root());
  ASSERT_EQ(top.size(), 2u);
  const auto leaves = ExpandNode(dm, top[0].info);
  const auto fifth = ExpandNode(dm, Node(dm, {1, 1, 1, 1, 0}));
  ASSERT_EQ(leaves.size(), 1u);
  ASSERT_EQ(fifth.size(), 1u);
  const std::pair<TClassInfo, std::string> cases[] = {
      {top[1].info, "1.0.0.0.0. level 1 entry 1 item 0 count 2 kind 1 expandable"},
      {leaves[0].info, "2.4.0.0.0. level 2 entry 8 item 0 count 1 kind 0 loaded"},
      {fifth[0].info, "1.1.1.1.1. level 5 entry 5 item 5 count 1 kind 1 loaded"},
      {Node(dm, {0, 0, 0, 0, 0}), "0.0.0.0.0. level 0 entry 0 item 0 count 2 kind 0 expandable"},
      {Node(dm, {1, 1, 0, 0, 0}), "1.1.0.0.0. level 2 entry 2 item 0 count 2 kind 1 expandable"},
  };
  for (const auto& [node, described] : cases) EXPECT_EQ(Describe(node), described);
  EXPECT_FALSE(FindNode(dm, {9, 0, 0, 0, 0}));
  EXPECT_FALSE(FindNode(dm, {1, 2, 0, 0, 0}));
}

BaseSource TreeBase(std::vector<ClassSource> classes, std::vector<std::string> items) {
  BaseSource b = SampleBase();
  b.items = std::move(items);
  b.classes = std::move(classes);
  return b;
}

TEST(ClassTree, LeavesOutTheNodesOwnEntryAndDeeperEntries) {
  OpenBase base(TreeBase({{10, 1, {5, 0, 0, 0, 0}, 2, 1},
                          {11, 2, {5, 7, 0, 0, 0}, 1, 1},
                          {10, 3, {5, 7, 0, 0, 0}, 1, 1},  // same id as the node
                          {12, 4, {5, 7, 9, 0, 0}, 1, 1},
                          {13, 5, {6, 7, 0, 0, 0}, 1, 1}},
                         {"p", "child", "same id", "grandchild", "elsewhere"}));
  Tdm& dm = base.dm();
  EXPECT_EQ(Captions(ExpandNode(dm, TClassInfo::Root())), (std::vector<std::string>{"p"}));
  EXPECT_EQ(Captions(ExpandNode(dm, Node(dm, {5, 0, 0, 0, 0}))),
            (std::vector<std::string>{"child"}));
}

TEST(ClassTree, SortsCaptionsInRussianOrderWithCaseOnlyBreakingTies) {
  std::vector<ClassSource> classes;
  const std::vector<std::string> names = {W("Яблоко"),  W("ёж"),    W("Банан"), W("ананас"),
                                          W("Ежевика"), W("банан"), "",         W("Вишня")};
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    classes.push_back({i + 1, i + 1, {i + 1, 0, 0, 0, 0}, 1, 1});
  }
  classes.push_back({99, 0, {50, 0, 0, 0, 0}, 1, 1});  // no item: an empty caption
  OpenBase base(TreeBase(classes, names));
  EXPECT_EQ(Captions(ExpandNode(base.dm(), TClassInfo::Root())),
            (std::vector<std::string>{"", "", W("ананас"), W("банан"), W("Банан"), W("Вишня"),
                                      W("Ежевика"), W("ёж"), W("Яблоко")}));
}

TEST(ClassTree, ReportsProgressEvery250Entries) {
  std::vector<ClassSource> classes(600, ClassSource{1, 1, {1, 0, 0, 0, 0}, 0, 1});
  OpenBase base(TreeBase(classes, {"x"}));
  std::vector<std::int32_t> seen;
  ExpandNode(base.dm(), TClassInfo::Root(), [&](std::int32_t n) { seen.push_back(n); });
  EXPECT_EQ(seen, (std::vector<std::int32_t>{250, 500}));
  seen.clear();
  BuildKeyList(base.dm(), {TClassInfo::Root()}, [&](std::int32_t n) { seen.push_back(n); });
  EXPECT_EQ(seen, (std::vector<std::int32_t>{250, 500}));
}

TEST(ClassSubtree, ContainsEntriesThatShareEveryCodeOfTheNode) {
  auto entry = [](Codes codes) {
    ClassEntry e;
    e.codes = codes;
    return e;
  };
  EXPECT_TRUE(InSubtree({5, 0, 0, 0, 0}, entry({5, 7, 9, 0, 0})));
  EXPECT_FALSE(InSubtree({5, 8, 0, 0, 0}, entry({5, 7, 9, 0, 0})));
  EXPECT_TRUE(InSubtree({5, 7, 9, 0, 0}, entry({5, 7, 9, 0, 0})));
  EXPECT_FALSE(InSubtree({5, 7, 9, 0, 0}, entry({5, 7, 0, 0, 0})));
  EXPECT_TRUE(InSubtree({0, 0, 0, 0, 0}, entry({3, 1, 4, 1, 5})));
}

TEST(ClassKeys, TheRootStandsForEveryEntryWithAnItem) {
  OpenBase base(SampleBase());
  const std::vector<ProductKey> expected = {{1, 0}, {1, 1}, {2, 2}, {2, 3},
                                            {1, 4}, {3, 5}, {3, 7}, {0, 6}};
  EXPECT_EQ(BuildKeyList(base.dm(), {TClassInfo::Root()}), expected);
  EXPECT_TRUE(BuildKeyList(base.dm(), {}).empty());
}

TEST(ClassKeys, KeysComeInEntryOrderEachOnce) {
  OpenBase base(TreeBase({{1, 4, {1, 0, 0, 0, 0}, 2, 2},
                          {2, 0, {1, 1, 0, 0, 0}, 2, 2},  // no item: no key
                          {3, 2, {1, 1, 1, 0, 0}, 0, 1},  // hidden, still a key
                          {4, 4, {1, 1, 2, 0, 0}, 1, 2},  // same kind and item as entry 1
                          {5, 4, {1, 1, 3, 0, 0}, 1, 3},  // same item, another kind
                          {6, 3, {2, 0, 0, 0, 0}, 1, 1}},
                         {"a", "b", "c", "d"}));
  Tdm& dm = base.dm();
  // Overlapping choices give each key once.
  const std::vector<TClassInfo> chosen = {Node(dm, {1, 1, 0, 0, 0}), Node(dm, {1, 1, 1, 0, 0}),
                                          Node(dm, {1, 0, 0, 0, 0})};
  EXPECT_EQ(BuildKeyList(dm, chosen), (std::vector<ProductKey>{{2, 3}, {1, 1}, {3, 3}}));
  EXPECT_EQ(BuildKeyList(dm, {Node(dm, {1, 1, 0, 0, 0})}),
            (std::vector<ProductKey>{{1, 1}, {2, 3}, {3, 3}}));
}

// The branch search end to end: the root's keys over the sample base.
TEST(ClassKeys, TheRootsKeysKeepEveryRecordWithAClassifiedProduct) {
  OpenBase base(SampleBase());
  Tdm& dm = base.dm();
  RecordList list = {2, 1, 0};
  MatchProducts(dm, list, BuildKeyList(dm, {TClassInfo::Root()}));
  EXPECT_EQ(list, (RecordList{1, 0}));
  list = {0, 1, 2};
  MatchProducts(dm, list, BuildKeyList(dm, {Node(dm, {2, 0, 0, 0, 0})}));
  EXPECT_EQ(list, (RecordList{1}));
}

}  // namespace
}  // namespace zorel
