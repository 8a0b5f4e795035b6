// Record lists: the whole-base list, the text form, ordered insertion and padded numbers.
#include "data/record_list.h"

#include <gtest/gtest.h>

namespace zorel {
namespace {

TEST(RecordList, WholeBaseListCountsFromZero) {
  EXPECT_EQ(WholeBaseList(3), (RecordList{0, 1, 2}));
  EXPECT_TRUE(WholeBaseList(0).empty());
  EXPECT_TRUE(WholeBaseList(-4).empty());
}

TEST(RecordList, TextFormIsOneNumberPerCrLfLine) {
  EXPECT_EQ(RecordListText({0, 12, 345}), "0\r\n12\r\n345\r\n");
  EXPECT_EQ(RecordListText({}), "");
  EXPECT_EQ(ParseRecordListText("0\r\n12\r\n345\r\n"), (RecordList{0, 12, 345}));
  // LF alone, a missing last line end, and lines that are not whole numbers.
  EXPECT_EQ(ParseRecordListText("7\n\n x\r\n 4\r\n5a\r\n99999999999\r\n-3\r\n8"),
            (RecordList{7, -3, 8}));
}

TEST(RecordList, InsertRecordKeepsAnAscendingListAscendingAndUnique) {
  const struct {
    RecordList list;
    std::int32_t r;
    RecordList expected;
  } cases[] = {
      {{}, 4, {4}},
      {{1, 3, 5}, 4, {1, 3, 4, 5}},
      {{1, 3, 5}, 3, {1, 3, 5}},
      {{1, 3, 5}, 0, {0, 1, 3, 5}},
      {{1, 3, 5}, 9, {1, 3, 5, 9}},
      {{1, 3, 5}, 5, {1, 3, 5}},
  };
  for (const auto& c : cases) {
    RecordList list = c.list;
    InsertRecord(list, c.r);
    EXPECT_EQ(list, c.expected) << "inserting " << c.r;
  }
}

}  // namespace
}  // namespace zorel
