// The record matcher: the test operations, condition tables and product keys read from their
// texts, MatchConditions and MatchProducts on bases written into temporary folders.
#include "data/matcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "data/byte_find.h"
#include "data/conditions.h"
#include "data/data_module.h"
#include "data/errors.h"
#include "data/product_key.h"
#include "data/record.h"
#include "data/record_details.h"
#include "data/text_ops.h"
#include "support/error_of.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::OpenBase;
using test_support::SampleBase;
using test_support::W;

// One condition row: field code, as is (true) or negated, operator code, value (UTF-8), case.
ConditionRow Row(int field, bool asIs, int op, const std::string& value = "",
                 bool caseSensitive = false) {
  return {std::to_string(field), asIs ? "1" : "0", std::to_string(op), W(value),
          caseSensitive ? "1" : "0"};
}

RecordList MatchedBy(Tdm& dm, const ConditionTable& table, RecordList list) {
  MatchConditions(dm, list, table);
  return list;
}

struct TextCase {
  const char* what;
  TextTest test;
  std::string field;  // Windows-1251
  std::string value;  // Windows-1251
  bool expected;
};

TEST(TextTests, FollowTheirDefinitions) {
  const std::string zero("ab\0cd", 5);
  std::string longField(5000, 'x');
  longField.replace(4090, 6, "needle");  // runs past byte 4095
  const TextCase cases[] = {
      {"contains ignores case", TextContains, W("Минский ЗАВОД"), W("завод"), true},
      {"contains-case honours case", TextContainsCase, W("Минский ЗАВОД"), W("завод"), false},
      {"contains-case finds exact case", TextContainsCase, W("Минский ЗАВОД"), W("ЗАВОД"), true},
      {"ё and Ё are one letter ignoring case", TextContains, W("ёлка"), W("ЁЛ"), true},
      {"empty value occurs nowhere", TextContains, "abc", "", false},
      {"empty value occurs nowhere, case", TextContainsCase, "abc", "", false},
      {"empty field contains nothing", TextContains, "", "a", false},
      {"contains stops at a zero byte", TextContains, zero, "cd", false},
      {"contains sees what precedes a zero byte", TextContainsCase, zero, "ab", true},
      {"equals ignores case", TextEquals, W("оао"), W("ОАО"), true},
      {"equals wants the whole field", TextEquals, W("ОАО Плюс"), W("ОАО"), false},
      {"equals compares a zero byte too", TextEquals, zero, "ab", false},
      {"equals-case honours case", TextEqualsCase, W("оао"), W("ОАО"), false},
      {"equals-case on equal texts", TextEqualsCase, W("ОАО"), W("ОАО"), true},
      {"empty equals empty", TextEqualsCase, "", "", true},
      {"empty on empty", TextEmpty, "", "x", true},
      {"empty on a zero byte", TextEmpty, std::string(1, '\0'), "", false},
      {"contains looks at 4095 bytes only", TextContains, longField, "needle", false},
      {"contains-case looks at 4095 bytes only", TextContainsCase, longField, "needle", false},
      {"contains finds what ends by byte 4095", TextContains, longField, "NEED", true},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(RunTextTest(c.test, c.field, TestValue(c.value)), c.expected) << c.what;
  }
}

// Every length and position, on buffers of exactly the field's size, with a zero byte before,
// after or inside the match.
TEST(TextTests, ContainsFindsTheValueWhereverItStands) {
  const TestValue value("zQ");
  for (std::size_t n = 0; n <= 50; ++n) {
    for (std::size_t at = 0; at + 2 <= n; ++at) {
      auto field = std::make_unique<std::uint8_t[]>(n);
      std::memset(field.get(), 'a', n);
      field[at] = 'Z';
      field[at + 1] = 'q';
      EXPECT_TRUE(TextContains(field.get(), value, n)) << n << " " << at;
      EXPECT_FALSE(TextContainsCase(field.get(), value, n)) << n << " " << at;
      EXPECT_TRUE(TextContainsCase(field.get(), TestValue("Zq"), n)) << n << " " << at;
      EXPECT_FALSE(TextContains(field.get(), value, at + 1)) << n << " " << at;
      if (at + 2 < n) {
        field[at + 2] = 0;
        EXPECT_TRUE(TextContains(field.get(), value, n)) << n << " " << at;
      }
      field[at + 1] = 0;
      EXPECT_FALSE(TextContains(field.get(), value, n)) << n << " " << at;
      if (at > 0) {
        field[at + 1] = 'q';
        field[at - 1] = 0;
        EXPECT_FALSE(TextContains(field.get(), value, n)) << n << " " << at;
      }
    }
  }
}

// Records: 0 «Минский ЗАВОД» (form «оао», 1995, staff 1200, index 220000, code 017, products
// «станок токарный» and «болт м12»); 1 «Брестский комбинат» (form «ОАО Плюс», 1990, staff 0,
// country Украина, product «гайка»); 2 «Станкостроитель» (no form, year 0, staff 15, none).

struct ConditionCase {
  const char* what;
  ConditionTable table;
  RecordList expected;
  RecordList list{};  // the list searched; every record of the base when empty
};

template <std::size_t N>
void ExpectMatches(Tdm& dm, const ConditionCase (&cases)[N]) {
  for (const ConditionCase& c : cases) {
    const RecordList list = c.list.empty() ? WholeBaseList(dm.RecordCount()) : c.list;
    EXPECT_EQ(MatchedBy(dm, c.table, list), c.expected) << c.what;
  }
}

TEST(MatchConditions, SampleBaseCases) {
  OpenBase base(SampleBase());
  const ConditionCase cases[] = {
      {"name contains, ignoring case", {Row(0, true, kOpContains, "завод")}, {0}},
      {"name contains, case-sensitive", {Row(0, true, kOpContains, "завод", true)}, {}},
      {"name contains, exact case", {Row(0, true, kOpContains, "ЗАВОД", true)}, {0}},
      {"form equals ОАО; no form passes", {Row(1, true, kOpEquals, "ОАО")}, {0, 2}},
      {"form equals ОАО with case", {Row(1, true, kOpEquals, "ОАО", true)}, {2}},
      {"form not equals ОАО; no form passes", {Row(1, false, kOpEquals, "ОАО")}, {1, 2}},
      {"form not empty; no form passes", {Row(1, false, kOpEmpty)}, {0, 1, 2}},
      {"country equals Украина", {Row(4, true, kOpEquals, "украина")}, {1, 2}},
      {"region contains", {Row(5, true, kOpContains, "минская")}, {0, 1, 2}},
      {"negated blank value passes all", {Row(0, false, kOpContains, "   ")}, {0, 1, 2}},
      {"blank value is contained nowhere", {Row(0, true, kOpContains, " \t ")}, {}},
      {"year > 1990", {Row(2, true, kOpGreater, "1990")}, {0}},
      {"year > 1990, negation ignored", {Row(2, false, kOpGreater, "1990")}, {0}},
      {"year = 0", {Row(2, true, kOpEquals, "0")}, {2}},
      {"year <= 1990", {Row(2, true, kOpLessEq, "1990")}, {1, 2}},
      {"staff >= 15", {Row(6, true, kOpGreaterEq, "15")}, {0, 2}},
      {"staff < 15, negation ignored", {Row(6, false, kOpLess, " 15 ")}, {1}},
      {"numeric case flag 1 acts as 0", {Row(2, true, kOpEquals, "1995", true)}, {0}},
      {"index contains", {Row(3, true, kOpContains, "2200")}, {0}},
      {"city code equals stripped text", {Row(7, true, kOpEquals, "017")}, {0}},
      {"city code empty", {Row(7, true, kOpEmpty)}, {1, 2}},
      {"address contains", {Row(8, true, kOpContains, "ЛЕНИНА")}, {0}},
      {"address empty", {Row(8, true, kOpEmpty)}, {1, 2}},
      {"head equals", {Row(9, true, kOpEquals, "иванов и.и.")}, {0}},
      {"fax contains", {Row(10, true, kOpContains, "33-44")}, {0}},
      {"phones contains", {Row(11, true, kOpContains, "33-45")}, {0}},
      {"advert contains", {Row(12, true, kOpContains, "станки")}, {0}},
      {"e-mail equals ignoring case", {Row(14, true, kOpEquals, "INFO@ZAVOD.BY")}, {0}},
      {"e-mail equals with case", {Row(14, true, kOpEquals, "INFO@ZAVOD.BY", true)}, {}},
      {"web address not empty", {Row(15, false, kOpEmpty)}, {0}},
      {"remark empty everywhere", {Row(13, true, kOpEmpty)}, {0, 1, 2}},
      {"some product contains станок", {Row(16, true, kOpContains, "станок")}, {0}},
      {"some product lacks станок; none never passes",
       {Row(16, false, kOpContains, "станок")},
       {0, 1}},
      {"product equals", {Row(16, true, kOpEquals, "ГАЙКА")}, {1}},
      {"all conditions must hold",
       {Row(0, true, kOpContains, "ск"), Row(2, true, kOpGreaterEq, "1991")},
       {0}},
      {"the same item judged by each product condition on its own",
       {Row(16, true, kOpContains, "болт"), Row(16, false, kOpContains, "болт")},
       {0}},
      {"numbers across the 32-bit range",
       {Row(6, true, kOpGreater, "-2147483648"), Row(6, true, kOpLess, "+2147483647")},
       {0, 1, 2}},
      {"rows with an empty first cell are no conditions",
       {Row(0, true, kOpContains, "комбинат"), ConditionRow{}},
       {1}},
      {"an empty table keeps the list as it is", {}, {2, 0, 2, 1}, {2, 0, 2, 1}},
      {"a table of empty rows too", {ConditionRow{}}, {1, 0}, {1, 0}},
      {"survivors keep list order and repeats",
       {Row(0, true, kOpContains, "ск")},
       {1, 0, 1},
       {2, 1, 0, 1}},
      // Unreadable records are tested as empty records.
      {"unreadable records are empty", {Row(0, true, kOpEmpty)}, {99, -1}, {0, 99, -1}},
      {"unreadable records contain nothing", {Row(0, true, kOpContains, "а")}, {0}, {0, 99}},
      {"unreadable records have no form", {Row(1, true, kOpEquals, "ОАО")}, {99}, {99}},
      {"unreadable records have no product", {Row(16, false, kOpEmpty)}, {}, {99}},
      {"unreadable records have no remark", {Row(13, true, kOpEmpty)}, {99}, {99}},
  };
  ExpectMatches(base.dm(), cases);
}

// A dictionary index past its dictionary and an item outside item.dat read as empty text.
TEST(MatchConditions, IndexesOutsideTheirListsReadAsEmptyText) {
  BaseSource source = SampleBase();
  source.enterprises.assign(2, EnterpriseSource{});
  EnterpriseSource& past = source.enterprises[0];
  past.orgForm = 9;
  past.region = 40;
  past.country = 4;
  past.products = {{1, 0}, {1, 500}};  // item 0 and an item past item.dat
  source.enterprises[1].orgForm = 4;   // ЗАО
  source.enterprises[1].products = {{1, 6}};
  OpenBase base(source);
  Tdm& dm = base.dm();
  const ConditionCase cases[] = {
      {"form past the dictionary is empty", {Row(1, true, kOpEmpty)}, {0}},
      {"form past the dictionary equals nothing", {Row(1, true, kOpEquals, "ЗАО")}, {1}},
      {"form past the dictionary contains nothing", {Row(1, false, kOpContains, "О")}, {0}},
      {"region past the dictionary", {Row(5, true, kOpEmpty)}, {0, 1}},
      {"country one past the end", {Row(4, true, kOpContains, "а")}, {1}},
      {"items outside item.dat have empty names", {Row(16, true, kOpEmpty)}, {0}},
      {"empty names contain nothing", {Row(16, true, kOpContains, "а")}, {1}},
  };
  ExpectMatches(dm, cases);
  EXPECT_EQ(dm.GetItemName(-1), "");
  EXPECT_EQ(GetDetails(dm, 0).orgform, "");
}

// Fixed-width fields and remarks are matched on their stripped text.
TEST(MatchConditions, FixedFieldsAndRemarksAreMatchedStripped) {
  BaseSource source = SampleBase();
  source.enterprises.resize(2);
  source.enterprises[0].index = " 2200";
  source.enterprises[0].cityCode = "  017";
  source.enterprises[1].index = "";
  source.remarks = std::vector<std::pair<std::int32_t, std::string>>{
      {0, W("   важный клиент  \r\n")}, {1, W("клиент")}};
  OpenBase base(source);
  const ConditionCase cases[] = {
      {"index equals without its leading blank", {Row(3, true, kOpEquals, "2200")}, {0}},
      {"city code equals without its blanks", {Row(7, true, kOpEquals, "017")}, {0}},
      {"remark ends are examined", {Row(13, true, kOpContains, "клиент")}, {0, 1}},
      {"remark equals stripped", {Row(13, true, kOpEquals, "ВАЖНЫЙ КЛИЕНТ")}, {0}},
      {"remark equals with case", {Row(13, true, kOpEquals, "клиент", true)}, {1}},
  };
  ExpectMatches(base.dm(), cases);
}

// Bad tables fail before any record is read and leave the list unchanged.
TEST(MatchConditions, RefusesBadTablesUpFront) {
  OpenBase base(SampleBase());
  auto with = [](int cell, const std::string& text) {
    ConditionRow row = Row(0, true, kOpContains, "завод");
    row[static_cast<std::size_t>(cell)] = text;
    return row;
  };
  const ConditionRow bad[] = {
      with(0, "17"),
      with(0, "-1"),
      with(0, "abc"),
      with(0, " "),
      with(1, "2"),
      with(1, ""),
      with(2, "7"),
      with(2, "x"),
      with(2, "3"),
      with(4, "x"),
      with(4, ""),
      Row(2, true, kOpContains, "1"),
      Row(6, true, kOpEmpty),
      Row(2, true, kOpEquals, "abc"),
      Row(2, true, kOpEquals, ""),
      Row(6, true, kOpEquals, "12a"),
      Row(6, true, kOpEquals, "2147483648"),
      Row(2, true, kOpEquals, "1.5"),
  };
  for (const ConditionRow& row : bad) {
    RecordList list = {2, 0, 1};
    // The bad row comes second: nothing of the first one may have been applied.
    const ConditionTable table = {Row(0, true, kOpContains, "завод"), row};
    EXPECT_THROW(MatchConditions(base.dm(), list, table), BadInput)
        << row[0] << "|" << row[1] << "|" << row[2] << "|" << row[3] << "|" << row[4];
    EXPECT_EQ(list, (RecordList{2, 0, 1}));
  }
}

// Twenty items; records 0..4 reference item 18 (1-based) with kinds 1 and 3, item 17, nothing,
// and items outside item.dat.
BaseSource ProductBase() {
  BaseSource b = SampleBase();
  b.items.clear();
  for (int i = 0; i < 20; ++i) b.items.push_back("item" + std::to_string(i));
  b.enterprises.assign(5, EnterpriseSource{});
  b.enterprises[0].products = {{2, 1}, {1, 18}};
  b.enterprises[1].products = {{3, 18}};
  b.enterprises[2].products = {{3, 17}};
  b.enterprises[4].products = {{3, 0}, {4, 1001}};
  return b;
}

std::vector<ProductKey> Keys(std::initializer_list<const char*> texts) {
  std::vector<ProductKey> keys;
  for (const char* t : texts) keys.push_back(ParseProductKey(t));
  return keys;
}

RecordList KeptBy(Tdm& dm, const std::vector<ProductKey>& keys, RecordList list) {
  MatchProducts(dm, list, keys);
  return list;
}

TEST(MatchProducts, MatchesKindsAndItems) {
  OpenBase base(ProductBase());
  Tdm& dm = base.dm();
  struct Case {
    const char* what;
    std::vector<ProductKey> keys;
    RecordList expected;
    RecordList list = {0, 1, 2, 3, 4};
  };
  const Case cases[] = {
      {"any kind", Keys({"    017"}), {0, 1}},
      {"one kind", Keys({"    3017"}), {1}},
      {"a kind no entry has", Keys({"    5017"}), {}},
      {"several keys", Keys({"    3016", "    2000"}), {0, 2}},
      {"an item past item.dat, any kind", Keys({"    01000"}), {4}},
      {"an item past item.dat, its kind", Keys({"    41000"}), {4}},
      {"an item past item.dat, another kind", Keys({"    31000"}), {}},
      {"stored item 0", Keys({"    3-1"}), {4}},
      {"no keys", {}, {}},
      {"list order kept, unreadable records dropped",
       Keys({"    017"}),
       {1, 0, 1},
       {3, 1, 99, 0, 1, -5}},
  };
  for (const Case& c : cases) EXPECT_EQ(KeptBy(dm, c.keys, c.list), c.expected) << c.what;
}

// Long lists mixing readable and unreadable numbers, so that scans look ahead past both.
TEST(MatchScans, LongListsWithNumbersOutsideTheBase) {
  OpenBase base(ProductBase());
  Tdm& dm = base.dm();
  RecordList list;
  RecordList expected;
  for (int round = 0; round < 20; ++round) {
    for (const std::int32_t r : {0, -7, 1, 5, 2, 2147483647, 3, 4}) list.push_back(r);
    expected.insert(expected.end(), {0, 1});
  }
  EXPECT_EQ(KeptBy(dm, Keys({"    017"}), list), expected);
  EXPECT_EQ(MatchedBy(dm, {Row(16, true, kOpContains, "item17")}, list), expected);
}

TEST(FindBytes, FindsWhatThePlainSearchFinds) {
  std::mt19937 random(11);
  const auto text = [&](std::size_t n) {
    std::string s(n, 'a');
    for (char& c : s) c = "ab\xe0\0"[random() % 4];
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string hay = text(random() % 100);
    const std::string needle = text(1 + random() % 5);
    const std::size_t from = random() % (hay.size() + 2);
    const auto* p = reinterpret_cast<const std::uint8_t*>(hay.data());
    const std::size_t expected = std::min(hay.find(needle, from), hay.size());
    ASSERT_EQ(FindBytes(p, hay.size(), needle, from), expected) << hay.size() << " " << from;
  }
}

TEST(ParseConditions, ReadsEveryCell) {
  const ConditionTable table = {
      {"16", "0", "0", W("  станок\t"), "1"},
      {"", "1", "1", "ignored", "0"},
      {" 6 ", "1", "5", " -20 ", "1"},
      {"0", "1x", "2", "", "0y"},
  };
  std::vector<std::string> parsed;
  for (const Condition& c : ParseConditions(table)) {
    parsed.push_back(std::to_string(c.field) + (c.expected ? " is " : " not ") +
                     std::to_string(c.op) + " '" + c.value + "' " + std::to_string(c.number) +
                     (c.caseSensitive ? " case" : ""));
  }
  // Only a cell's first character counts; numbers have no case.
  EXPECT_EQ(parsed, (std::vector<std::string>{"16 not 0 '" + W("станок") + "' 0 case",
                                              "6 is 5 '-20' -20", "0 is 2 '' 0"}));
}

TEST(ParseConditions, UsesTheFirst255CharactersOfTheValue) {
  const std::string value = "  " + std::string(300, 'a');
  const auto c = ParseConditions({{"0", "1", "0", value, "0"}});
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].value, std::string(253, 'a'));
}

TEST(ParseConditions, NamesTheRowOfABadCell) {
  const ConditionTable table = {{"0", "1", "0", "a", "0"}, {"2", "1", "1", W("тысяча"), "0"}};
  const std::string message = ErrorOf<BadInput>([&] { ParseConditions(table); });
  EXPECT_NE(message.find("строке 2"), std::string::npos) << message;
  EXPECT_NE(message.find("тысяча"), std::string::npos) << message;
}

TEST(ProductKeyText, ParsesKindAndItem) {
  struct Case {
    const char* text;
    ProductKey key;
  };
  const Case cases[] = {
      {"    017", {0, 17}},
      {"    3017", {3, 17}},
      {"  2562", {0, 2}},
      {"  257 12", {1, 12}},
      {"    0-1", {0, -1}},
      {"00003305", {3, 305}},
      {"    04294967294", {0, 4294967294}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProductKey(c.text), c.key) << c.text;
  EXPECT_EQ(FormatProductKey(2, 305), "    2305");
  EXPECT_EQ(FormatProductKey(0, 17), "    017");
  EXPECT_EQ(ParseProductKey(FormatProductKey(255, 123456)), (ProductKey{255, 123456}));
}

TEST(ProductKeyText, RefusesTextsThatAreNotTwoIntegers) {
  for (const char* text : {"", "abc", "    3", "    3x", "  a  17", "    0 ", "  1.5"}) {
    EXPECT_THROW(ParseProductKey(text), BadInput) << text;
  }
}

}  // namespace
}  // namespace zorel
