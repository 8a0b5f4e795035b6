#include "report/page_generator.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zorel {
namespace {

constexpr double kFitSlack = 0.01;  // tenths: measures stored as decimals may miss by a hair
constexpr double kLowestBand = 1;   // tenths: a flatter band is counted as this high
constexpr int kWindowPages = 2;     // pages kept on either side of the one last asked for

}  // namespace

void CheckBandSize(const TReport& report) {
  if (!report.HasDetail()) return;
  const std::size_t n = report.DetailBand()->Labels().size();
  if (n <= kMaxBandElements) return;
  throw FormSizeError("В полосе формы " + std::to_string(n) +
                      " элементов, а печатать можно не больше " + std::to_string(kMaxBandElements) +
                      ". Удалите лишние поля из формы.");
}

PageGenerator::PageGenerator(TReport& report, int expectedBands)
    : report_(report), expectedBands_(std::max(0, expectedBands)) {}

bool PageGenerator::Start() {
  CheckBandSize(report_);
  started_ = true;
  const TRepPage& page = report_.Page;
  const double height =
      std::max(kLowestBand, report_.HasDetail() ? report_.DetailBand()->HeightTenths : 0);
  rows_ = std::max(1, static_cast<int>(std::floor((page.PrintableHeight() + kFitSlack) / height)));
  perPage_ = rows_ * std::max(1, page.Columns());
  // A band taller than the page is clipped on a page of its own.
  if (height > page.PrintableHeight() + kFitSlack) perPage_ = 1;
  if (!Restart()) {
    cancelled_ = ended_ = true;
    return false;
  }
  return true;
}

bool PageGenerator::Restart() {
  cursor_ = 0;
  bool print = true;
  if (report_.BeforePrint) report_.BeforePrint(report_, print);
  return print;
}

bool PageGenerator::Advance(PlacedBand* band) {
  if (ended_ && cursor_ >= known_) return false;
  bool more = report_.HasDetail() && report_.OnNeedData != nullptr;
  if (more) report_.OnNeedData(report_, more);
  if (!more) {
    ended_ = true;
    known_ = cursor_;
    return false;
  }
  if (band) {
    for (const auto& label : report_.DetailBand()->Labels()) {
      QString value = label->Caption;
      // A label with an empty caption prints nothing and is not asked.
      if (!value.isEmpty() && label->OnPrint) label->OnPrint(*label, value);
      band->texts.push_back(std::move(value));
    }
  }
  ++cursor_;
  known_ = std::max(known_, cursor_);
  return true;
}

bool PageGenerator::SkipTo(long long position) {
  if (cursor_ > position && !Restart()) return false;
  while (cursor_ < position) {
    if (!Advance(nullptr)) return false;
  }
  return true;
}

bool PageGenerator::Step() {
  if (!started_ && !Start()) return false;
  if (ended_) return false;
  const long long pagesBefore = known_ / perPage_;
  if (!SkipTo(known_)) return false;
  while (known_ / perPage_ == pagesBefore) {
    if (!Advance(nullptr)) return false;
  }
  return !ended_;
}

void PageGenerator::RunToEnd() {
  while (Step()) {
  }
}

int PageGenerator::PageCount() const {
  if (cancelled_) return 0;
  const long long complete = known_ / perPage_;
  if (!ended_) return static_cast<int>(complete);
  return static_cast<int>(std::max(1LL, complete + (known_ % perPage_ != 0)));
}

int PageGenerator::Progress() const {
  if (ended_) return 100;
  if (expectedBands_ == 0) return 0;
  return static_cast<int>(std::min<long long>(99, known_ * 100 / expectedBands_));
}

bool PageGenerator::MakePage(int index, GeneratedPage& page) {
  page.bands.clear();
  if (!started_ && !Start()) return false;
  if (cancelled_ || index < 0) return false;
  const long long first = static_cast<long long>(index) * perPage_;
  if (ended_ && first >= known_) return index == 0;  // an empty run has one empty page
  if (!SkipTo(first)) return index == 0 && first == 0;
  const TRepPage& pg = report_.Page;
  const double height = report_.HasDetail() ? report_.DetailBand()->HeightTenths : 0;
  const double step = pg.ColumnWidth() + pg.Tenths(TRepPage::kColumnSpace);
  for (int slot = 0; slot < perPage_; ++slot) {
    PlacedBand band;
    if (!Advance(&band)) break;
    band.left = static_cast<float>(pg.Tenths(TRepPage::kLeftMargin) + (slot / rows_) * step);
    band.top = static_cast<float>(pg.Tenths(TRepPage::kTopMargin) + (slot % rows_) * height);
    page.bands.push_back(std::move(band));
  }
  return !page.bands.empty() || index == 0;
}

const GeneratedPage* PageGenerator::Page(int index) {
  std::erase_if(window_,
                [index](const auto& kept) { return std::abs(kept.first - index) > kWindowPages; });
  if (const auto kept = window_.find(index); kept != window_.end()) return &kept->second;
  GeneratedPage page;
  if (!MakePage(index, page)) return nullptr;
  return &window_.emplace(index, std::move(page)).first->second;
}

}  // namespace zorel
