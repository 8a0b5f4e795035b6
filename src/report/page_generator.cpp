#include "report/page_generator.h"

#include <algorithm>

namespace zorel {
namespace {

constexpr double kFitSlack = 0.01;  // tenths: measures stored as decimals may miss by a hair

}  // namespace

PageGenerator::PageGenerator(TReport& report, int expectedBands)
    : report_(report), expectedBands_(std::max(0, expectedBands)) {}

bool PageGenerator::Start() {
  started_ = true;
  bool print = true;
  if (report_.BeforePrint) report_.BeforePrint(report_, print);
  if (!print) finished_ = true;
  return print;
}

bool PageGenerator::NextBand(PlacedBand& band) {
  if (!report_.HasDetail()) return false;
  bool more = report_.OnNeedData != nullptr;
  if (more) report_.OnNeedData(report_, more);
  if (!more) return false;
  for (const auto& label : report_.DetailBand()->Labels()) {
    QString value = label->Caption;
    // A label with an empty caption prints nothing and is not asked.
    if (!value.isEmpty() && label->OnPrint) label->OnPrint(*label, value);
    band.texts.push_back(std::move(value));
  }
  ++bandsMade_;
  return true;
}

void PageGenerator::Place(PlacedBand band) {
  const TRepPage& page = report_.Page;
  const double top = page.Tenths(TRepPage::kTopMargin);
  const double bottom = top + page.PrintableHeight();
  const double height = report_.DetailBand()->HeightTenths;
  const bool tooTall = height > page.PrintableHeight() + kFitSlack;
  if (pages_.empty()) {
    pages_.emplace_back();
    column_ = 0;
    y_ = top;
  } else if (tooTall || y_ + height > bottom + kFitSlack) {
    if (!tooTall && column_ + 1 < page.Columns()) {
      ++column_;
    } else {
      pages_.emplace_back();
      column_ = 0;
    }
    y_ = top;
  }
  band.left =
      static_cast<float>(page.Tenths(TRepPage::kLeftMargin) +
                         column_ * (page.ColumnWidth() + page.Tenths(TRepPage::kColumnSpace)));
  band.top = static_cast<float>(y_);
  y_ += height;
  pages_.back().bands.push_back(std::move(band));
}

bool PageGenerator::Step() {
  if (!started_ && !Start()) return false;
  if (finished_) return false;
  const std::size_t pagesBefore = pages_.size();
  for (;;) {
    PlacedBand band;
    if (!NextBand(band)) {
      finished_ = true;
      if (pages_.empty()) pages_.emplace_back();
      return false;
    }
    Place(std::move(band));
    // A new page was begun: the one before it is complete.
    if (pages_.size() > std::max<std::size_t>(pagesBefore, 1)) return true;
  }
}

void PageGenerator::RunToEnd() {
  while (Step()) {
  }
}

int PageGenerator::PageCount() const {
  const int made = static_cast<int>(pages_.size());
  return finished_ ? made : std::max(0, made - 1);
}

int PageGenerator::Progress() const {
  if (finished_) return 100;
  if (expectedBands_ == 0) return 0;
  return static_cast<int>(std::min<long long>(99, bandsMade_ * 100LL / expectedBands_));
}

}  // namespace zorel
