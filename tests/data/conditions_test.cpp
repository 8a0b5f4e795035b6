// Reading condition tables and product keys: what a valid table becomes and how a bad cell is
// reported.
#include "data/conditions.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/product_key.h"
#include "data/record.h"
#include "support/error_of.h"
#include "support/sample_base.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::W;

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
