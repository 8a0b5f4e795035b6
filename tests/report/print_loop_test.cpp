#include "report/print_loop.h"

#include <gtest/gtest.h>

#include "data/field_table.h"
#include "data/record_details.h"
#include "report/page_generator.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

using test_support::OpenBase;
using test_support::SampleBase;

// A form with a name field showing a stale caption, a user field and a cleared user field.
std::unique_ptr<TReport> NameForm() {
  auto r = std::make_unique<TReport>();
  TRepBand& band = r->CreateBand(QStringLiteral("B"));
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1"))).Caption =
      QStringLiteral("Старое имя");
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("r1"))).Caption =
      QStringLiteral("Моя строка");
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("r2")));
  return r;
}

struct Printed {
  std::vector<QString> names;
  int pages = 0;
};

Printed Print(TReport& form, ListPrintLoop& loop) {
  loop.Attach(form);
  PageGenerator gen(form, loop.ExpectedBands());
  gen.RunToEnd();
  Printed run{{}, gen.PageCount()};
  for (int i = 0; i < gen.PageCount(); ++i) {
    for (const PlacedBand& b : gen.Page(i)->bands) {
      EXPECT_EQ(b.texts[1], "Моя строка");
      EXPECT_EQ(b.texts[2], "");
      run.names.push_back(b.texts[0]);
    }
  }
  return run;
}

TEST(PrintLoop, ListRangesAndSingleRecords) {
  OpenBase base(SampleBase());
  auto name = [&base](int r) { return FromCp(base.dm().GetFirmName(r)); };
  const RecordList list = {2, 0, 1, 2, 0};
  auto form = NameForm();
  struct Case {
    PrintMode mode;
    std::int64_t from, to;  // 0 for the whole list
    std::int32_t current;
    std::vector<int> records;
  } cases[] = {
      {PrintMode::List, 0, 0, 0, {2, 0, 1, 2, 0}},
      {PrintMode::List, 3, 5, 0, {1, 2, 0}},
      {PrintMode::List, 4, 99, 0, {2, 0}},  // cut to the list
      {PrintMode::List, 9, 12, 0, {}},
      {PrintMode::Single, 3, 5, 1, {0}},  // the current record, whatever the range
  };
  for (const Case& c : cases) {
    ListPrintLoop loop(base.dm(), list);
    loop.Mode = c.mode;
    loop.CurrentIndex = c.current;
    if (c.from == 0) {
      loop.SetAllRecords();
    } else {
      loop.SetRange(c.from, c.to);
    }
    std::vector<QString> want;
    for (const int r : c.records) want.push_back(name(r));
    EXPECT_EQ(loop.ExpectedBands(), static_cast<int>(want.size()));
    const Printed run = Print(*form, loop);
    EXPECT_EQ(run.names, want) << c.from << ":" << c.to;
    EXPECT_EQ(run.pages, 1);
    if (c.from != 0) {  // a print after a narrower range prints everything again
      loop.SetAllRecords();
      if (c.mode == PrintMode::List) {
        EXPECT_EQ(Print(*form, loop).names.size(), list.size());
      }
    }
  }
}

TEST(PrintLoop, SingleModeOutsideTheListIsRefused) {
  OpenBase base(SampleBase());
  const RecordList empty, two = {0, 1};
  ListPrintLoop none(base.dm(), empty);
  none.Mode = PrintMode::Single;
  EXPECT_THROW(none.Check(), PrintRangeError);
  ListPrintLoop beyond(base.dm(), two);
  beyond.Mode = PrintMode::Single;
  beyond.CurrentIndex = 2;
  EXPECT_THROW(beyond.Check(), PrintRangeError);
  auto form = NameForm();
  EXPECT_TRUE(Print(*form, beyond).names.empty());  // and a run prints no band
  ListPrintLoop list(base.dm(), empty);
  list.SetAllRecords();
  EXPECT_NO_THROW(list.Check());
  EXPECT_EQ(Print(*form, list).pages, 1);  // one empty page
}

TEST(PrintLoop, EveryPrintFieldByItsLetter) {
  OpenBase base(SampleBase());
  const RecordList list = {1};
  ListPrintLoop loop(base.dm(), list);
  loop.SetAllRecords();
  auto form = std::make_unique<TReport>();
  TRepBand& band = form->CreateBand(QStringLiteral("B"));
  for (int f = 0; f < kPrintFieldCount; ++f) {
    band.AddLabel(std::make_unique<TRepPrnLabel>(QString(QChar('a' + f)) + "1")).Caption = "x";
  }
  loop.Attach(*form);
  PageGenerator gen(*form);
  gen.RunToEnd();
  const auto& texts = gen.Page(0)->bands.at(0).texts;
  for (int f = 0; f < kPrintFieldCount; ++f) {
    const QString want = f == kPrintUserField ? "x" : FromCp(PrintFieldText(base.dm(), 1, f));
    EXPECT_EQ(texts[f], want) << f;
  }
  EXPECT_EQ(texts[0], FromCp(base.dm().GetFirmName(1)));
}

}  // namespace
}  // namespace zorel
