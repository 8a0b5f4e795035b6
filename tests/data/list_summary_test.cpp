// The list summary on the sample base, read from the search file's columns and, where the base's
// folder cannot take that file, from the records: the same bars either way.
#include "data/list_summary.h"

#include <gtest/gtest.h>

#include <optional>

#include "data/data_module.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "support/faulty_files.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::SampleBase;
using test_support::TempDir;

std::string Bars(const std::vector<SummaryBar>& bars) {
  std::string text;
  for (const SummaryBar& b : bars) {
    text += ToUtf8(b.label) + ":" + std::to_string(b.count) + "@" + std::to_string(b.key) + " ";
  }
  return text;
}

struct Case {
  SummaryAxis axis;
  const char* bars;
};

// The sample base's three enterprises in the order 2, 0, 1, and a number outside the base.
const RecordList kList = {2, 0, 1, 99};

const Case kCases[] = {
    {SummaryAxis::Region, "не указан:2@0 Минская обл.:1@1 "},
    {SummaryAxis::Country, "не указан:1@0 Беларусь:1@1 Украина:1@3 "},
    {SummaryAxis::OrgForm, "не указан:1@0 оао:1@2 ОАО Плюс:1@3 "},
    {SummaryAxis::Staff, "11–50:1@1 более 1000:1@4 не указана:1@-1 "},
    {SummaryAxis::Decade, "1990-1999:2@1990 не указан:1@0 "},
    {SummaryAxis::Products, "станок токарный:1@1 болт м12:1@2 гайка:1@5 "},
};

void ExpectSummary(const Tdm& dm) {
  for (const Case& c : kCases) {
    EXPECT_EQ(Bars(SummarizeList(dm, kList, c.axis)), c.bars) << SummaryAxisWord(c.axis);
  }
  EXPECT_EQ(RecordsOfBar(dm, kList, SummaryAxis::Region, 0), (RecordList{2, 1}));
  EXPECT_EQ(RecordsOfBar(dm, kList, SummaryAxis::Decade, 1990), (RecordList{0, 1}));
  EXPECT_EQ(RecordsOfBar(dm, kList, SummaryAxis::Staff, -1), (RecordList{1}));
  EXPECT_EQ(RecordsOfBar(dm, kList, SummaryAxis::Products, 5), (RecordList{1}));
  EXPECT_EQ(RecordsOfBar(dm, {0, 1}, SummaryAxis::Products, 7), RecordList{});
}

TEST(ListSummary, CountsTheSameFromTheColumnsAndFromTheRecords) {
  for (const bool columns : {true, false}) {
    SCOPED_TRACE(columns ? "columns" : "records");
    TempDir dir;
    WriteDatabase(dir / "db", SampleBase());
    test_support::NoSearchFile files;
    std::optional<ScopedFileSystem> installed;
    if (!columns) installed.emplace(files);
    const Tdm dm(dir / "db");
    ASSERT_EQ(dm.Columns() != nullptr, columns);
    ExpectSummary(dm);
  }
}

TEST(ListSummary, AtMostTwentyItemsTheMostFrequentFirst) {
  BaseSource base = SampleBase();
  const EnterpriseSource model = base.enterprises[0];
  base.items.clear();
  base.enterprises.clear();
  for (std::uint32_t i = 1; i <= 30; ++i) {
    base.items.push_back("item" + std::to_string(i));
    // Item i is listed by i enterprises, twice by each: it counts each enterprise once.
    EnterpriseSource e = model;
    e.products = {{1, i}, {2, i}};
    for (std::uint32_t k = 0; k < i; ++k) base.enterprises.push_back(e);
  }
  test_support::OpenBase opened(base);
  const Tdm& dm = opened.dm();
  const std::vector<SummaryBar> bars =
      SummarizeList(dm, WholeBaseList(dm.RecordCount()), SummaryAxis::Products);
  ASSERT_EQ(bars.size(), kSummaryItems);
  EXPECT_EQ(ToUtf8(bars.front().label), "item30");
  EXPECT_EQ(ToUtf8(bars.back().label), "item11");
}

}  // namespace
}  // namespace zorel
