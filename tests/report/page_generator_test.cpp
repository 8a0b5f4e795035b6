#include "report/page_generator.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <fstream>
#include <string>

#include "data/field_table.h"
#include "data/record_details.h"
#include "report/page_painter.h"
#include "report/print_loop.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

using test_support::OpenBase;
using test_support::SampleBase;

// A4 with 10 mm margins: 1900 x 2770 tenths to print on.
std::unique_ptr<TReport> Form(int columns, double bandTenths, int bands) {
  auto r = std::make_unique<TReport>();
  r->Page.SetColumns(columns);
  r->Page.SetColumnSpace(10);
  r->CreateBand(QStringLiteral("B")).HeightTenths = bandTenths;
  // The data starts over with every run, as the print loop's does.
  auto left = std::make_shared<int>(bands);
  r->BeforePrint = [left, bands](TReport&, bool&) { *left = bands; };
  r->OnNeedData = [left](TReport&, bool& more) { more = (*left)-- > 0; };
  return r;
}

TEST(PageGeneration, BandsFillColumnsThenPages) {
  struct Case {
    int columns;
    double height;
    int bands;
    std::vector<int> perPage;
  } cases[] = {
      {1, 500, 23, {5, 5, 5, 5, 3}},
      {2, 500, 23, {10, 10, 3}},
      {1, 554, 6, {5, 1}},      // five fill the printable height exactly
      {3, 2770, 4, {3, 1}},     // one band per column
      {2, 3000, 3, {1, 1, 1}},  // taller than the page: one band per page, clipped
      {2, 500, 0, {0}},         // nothing to print: one empty page
  };
  for (const Case& c : cases) {
    auto r = Form(c.columns, c.height, c.bands);
    PageGenerator gen(*r);
    gen.RunToEnd();
    std::vector<int> got;
    for (int i = 0; i < gen.PageCount(); ++i)
      got.push_back(static_cast<int>(gen.Page(i)->bands.size()));
    EXPECT_EQ(got, c.perPage) << c.columns << " " << c.height << " " << c.bands;
  }
  auto r = Form(2, 500, 7);
  PageGenerator gen(*r);
  gen.RunToEnd();
  const auto& bands = gen.Page(0)->bands;
  EXPECT_FLOAT_EQ(bands[4].top, 100 + 4 * 500);
  EXPECT_FLOAT_EQ(bands[5].left, 100 + (1900 - 100) / 2.0 + 100);  // second column
  EXPECT_FLOAT_EQ(bands[5].top, 100);
}

TEST(PageGeneration, FirstPageIsReadyBeforeTheRunEnds) {
  auto r = Form(1, 500, 12);
  PageGenerator gen(*r, 12);
  EXPECT_TRUE(gen.Step());
  EXPECT_EQ(gen.PageCount(), 1);
  EXPECT_FALSE(gen.Finished());
  EXPECT_EQ(gen.Progress(), 41);  // five of twelve bands counted
  gen.RunToEnd();
  EXPECT_EQ(gen.PageCount(), 3);
  EXPECT_EQ(gen.Progress(), 100);

  auto cancelled = Form(1, 500, 12);
  cancelled->BeforePrint = [](TReport&, bool& print) { print = false; };
  PageGenerator none(*cancelled);
  none.RunToEnd();
  EXPECT_EQ(none.PageCount(), 0);
}

TEST(PageGeneration, LabelTextsComeFromTheHooks) {
  auto r = Form(1, 500, 2);
  TRepBand& band = *r->DetailBand();
  int asked = 0;
  auto& plain = band.AddLabel(std::make_unique<TRepLabel>(QStringLiteral("x1")));
  plain.Caption = QStringLiteral("as is");
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));  // empty caption
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a2"))).Caption = QStringLiteral("?");
  r->SupplyLabelText = [&asked](const TRepLabel& l, QString& v) {
    v = l.Name + QString::number(++asked);
  };
  PageGenerator gen(*r);
  gen.RunToEnd();
  const auto& bands = gen.Page(0)->bands;
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].texts, (std::vector<QString>{"as is", "", "a21"}));
  EXPECT_EQ(bands[1].texts, (std::vector<QString>{"as is", "", "a22"}));
}

long PeakResidentKb() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// Each band prints its own number, so a page made again shows which records it holds.
std::unique_ptr<TReport> Numbered(double bandTenths, int bands, int* runs) {
  auto r = Form(1, bandTenths, 0);
  auto next = std::make_shared<int>(0);
  r->BeforePrint = [next, runs](TReport&, bool&) {
    *next = 0;
    ++*runs;
  };
  r->OnNeedData = [next, bands](TReport&, bool& more) { more = (*next)++ < bands; };
  auto& label = r->DetailBand()->AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));
  label.Caption = QStringLiteral("?");
  r->SupplyLabelText = [next](const TRepLabel&, QString& v) {
    v = QString::number(*next - 1) + QString(100, QChar(u'Ж'));
  };
  return r;
}

TEST(PageGeneration, PagesAreMadeAgainFromTheData) {
  int runs = 0;
  auto r = Numbered(500, 23, &runs);  // five bands a page
  PageGenerator gen(*r, 23);
  gen.RunToEnd();
  ASSERT_EQ(gen.PageCount(), 5);
  for (const int page : {3, 1, 4, 4, 0}) {
    const GeneratedPage* made = gen.Page(page);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->bands.front().texts[0].startsWith(QString::number(page * 5)));
    EXPECT_EQ(made->bands.size(), page == 4 ? 3u : 5u);
  }
  EXPECT_EQ(gen.Page(5), nullptr);
  EXPECT_EQ(runs, 4);  // the count, page 3, back to 1 and back to 0; page 4 was kept
}

TEST(PageGeneration, MemoryDoesNotGrowWithThePages) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer keeps freed blocks in quarantine: resident memory says nothing";
#endif
  int runs = 0;
  auto r = Numbered(3000, 400000, &runs);  // one band a page
  PageGenerator gen(*r, 400000);
  const long before = PeakResidentKb();
  gen.RunToEnd();
  GeneratedPage page;
  int pages = 0;
  while (gen.MakePage(pages, page)) ++pages;
  EXPECT_EQ(pages, 400000);
  EXPECT_EQ(gen.PageCount(), 400000);
  EXPECT_LT(PeakResidentKb() - before, 20 * 1024);  // kept, the texts alone take 80 MB
}

TEST(PageGeneration, ABandWithTooManyElementsIsRefused) {
  for (const std::size_t n : {kMaxBandElements, kMaxBandElements + 1}) {
    auto r = Form(1, 500, 1);
    for (std::size_t i = 0; i < n; ++i)
      r->DetailBand()->AddLabel(std::make_unique<TRepLabel>(QStringLiteral("x")));
    PageGenerator gen(*r);
    if (n > kMaxBandElements) {
      EXPECT_THROW(gen.Start(), FormSizeError);
    } else {
      EXPECT_TRUE(gen.Start());
    }
  }
}

TEST(FrameLines, ThicknessFollowsTheDevice) {
  struct Case {
    double f;
    int width, thickness;
  } cases[] = {{600 / 254.0, 1, 8}, {96 / 254.0, 1, 1},  {96 / 254.0, 3, 4},
               {0.01, 1, 1},        {600 / 254.0, 0, 0}, {600 / 254.0, -1, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(FrameThickness(c.f, c.width), c.thickness) << c.f << " " << c.width;
}

int DarkIn(const QImage& img, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) n += qGray(img.pixel(x, y)) < 128;
  }
  return n;
}

TEST(FrameLines, OnlyTheChosenSidesAreDrawn) {
  const double f = 600 / 254.0;  // 8-pixel lines
  for (const PenStyle style : {PenStyle::Solid, PenStyle::Dash}) {
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TRepFrame frame;
    frame.DrawTop = frame.DrawLeft = true;
    frame.Style = style;
    DrawFrame(p, frame, 10, 10, 90, 90, f, f);
    frame.DrawBottom = frame.DrawRight = true;
    frame.Width = 0;
    DrawFrame(p, frame, 10, 10, 90, 90, f, f);
    p.end();
    EXPECT_GT(DarkIn(img, {10, 10, 80, 8}), 0);                                // top, 8 rows
    EXPECT_GT(DarkIn(img, {10, 10, 8, 80}), 0);                                // left, 8 columns
    EXPECT_EQ(DarkIn(img, {10, 18, 80, 1}) - DarkIn(img, {10, 18, 8, 1}), 0);  // not 9 rows
    EXPECT_EQ(DarkIn(img, {19, 19, 72, 72}), 0);  // no bottom, no right
    EXPECT_EQ(DarkIn(img, {0, 0, 100, 10}) + DarkIn(img, {0, 0, 10, 100}), 0);  // inward only
  }
}

TEST(PagePainting, TextStaysInsideItsLabelAndTheMargins) {
  auto r = Form(1, 3000, 1);  // taller than the page
  auto& label = r->DetailBand()->AddLabel(std::make_unique<TRepLabel>(QStringLiteral("x1")));
  label.Caption = QString(400, QChar(u'Ж'));
  label.Size = {2950, 0, 0, 500};  // runs past the bottom margin
  label.Font.Height = -40;
  auto& small = r->DetailBand()->AddLabel(std::make_unique<TRepLabel>(QStringLiteral("x2")));
  small.Caption = QStringLiteral("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ");
  small.Size = {50, 1000, 0, 300};
  small.Font.Height = -40;
  PageGenerator gen(*r);
  gen.RunToEnd();
  ASSERT_EQ(gen.PageCount(), 1);
  const double f = 0.2;  // 420 x 594 pixels
  QImage img(420, 594, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  PaintPage(p, *r, *gen.Page(0), f, f);
  p.end();
  EXPECT_GT(DarkIn(img, {20, 20, 100, 100}), 0);
  EXPECT_EQ(DarkIn(img, {0, 575, 420, 19}), 0);  // below the bottom margin
  EXPECT_GT(DarkIn(img, {220, 20, 60, 10}), 0);
  EXPECT_EQ(DarkIn(img, {281, 0, 139, 594}), 0);   // right of both labels
  EXPECT_EQ(DarkIn(img, {121, 31, 299, 563}), 0);  // below the second label
}

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
    if (c.from != 0 && c.mode == PrintMode::List) {  // then everything again
      loop.SetAllRecords();
      EXPECT_EQ(Print(*form, loop).names.size(), list.size());
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
