// Reading condition tables and product keys: what a valid table becomes and how a bad cell is
// reported.
#include "data/conditions.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/product_key.h"
#include "data/record.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

using test_support::W;

TEST(ParseConditions, ReadsEveryCell) {
  const ConditionTable table = {
      {"16", "0", "0", W("  станок\t"), "1"},
      {"", "1", "1", "ignored", "0"},
      {" 6 ", "1", "5", " -20 ", "1"},
      {"0", "1x", "2", "", "0y"},
  };
  const std::vector<Condition> c = ParseConditions(table);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].field, kFieldProducts);
  EXPECT_EQ(c[0].expected, 0);
  EXPECT_EQ(c[0].op, kOpContains);
  EXPECT_EQ(c[0].value, W("станок"));
  EXPECT_TRUE(c[0].caseSensitive);
  EXPECT_EQ(c[1].field, kFieldStaff);
  EXPECT_EQ(c[1].op, kOpGreaterEq);
  EXPECT_EQ(c[1].number, -20);
  EXPECT_FALSE(c[1].caseSensitive);  // numbers have no case
  EXPECT_EQ(c[2].expected, 1);       // only the first character counts
  EXPECT_EQ(c[2].op, kOpEmpty);
  EXPECT_FALSE(c[2].caseSensitive);
}

TEST(ParseConditions, UsesTheFirst255CharactersOfTheValue) {
  const std::string value = "  " + std::string(300, 'a');
  const auto c = ParseConditions({{"0", "1", "0", value, "0"}});
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].value, std::string(253, 'a'));
}

TEST(ParseConditions, NamesTheRowOfABadCell) {
  const ConditionTable table = {{"0", "1", "0", "a", "0"}, {"2", "1", "1", W("тысяча"), "0"}};
  try {
    ParseConditions(table);
    FAIL() << "no error";
  } catch (const BadInput& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("строке 2"), std::string::npos) << message;
    EXPECT_NE(message.find("тысяча"), std::string::npos) << message;
  }
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
