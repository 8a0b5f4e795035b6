#include "reportui/rep_preview.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "report/page_generator.h"
#include "report/page_painter.h"
#include "report/report.h"

namespace zorel {
namespace {

int Round(double x) { return static_cast<int>(std::nearbyint(x)); }  // halves to even

// The page image: the current page painted at the preview's zoom.
class TRepPreviewImage : public QWidget {
 public:
  explicit TRepPreviewImage(TRepPreview* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("PageImage"));
  }
  void Show(const TReport* report, const GeneratedPage& page) {
    report_ = report;
    page_ = page;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::gray);
    p.fillRect(rect().adjusted(0, 0, -2, -2), Qt::white);  // a page with a thin shadow
    if (!report_) return;
    p.setRenderHint(QPainter::TextAntialiasing);
    const double zoom = owner_->Zoom() / 100.0;
    PaintPage(p, *report_, page_, owner_->FactorX() * zoom, owner_->FactorY() * zoom);
  }

 private:
  TRepPreview* owner_;
  const TReport* report_ = nullptr;
  GeneratedPage page_;
};

}  // namespace

TRepPreview::TRepPreview(QWidget* parent)
    : QScrollArea(parent), canvas_(new QWidget), image_(new TRepPreviewImage(this, canvas_)) {
  setObjectName(QStringLiteral("RepPreview"));
  setWidget(canvas_);
  setWidgetResizable(false);
  setBackgroundRole(QPalette::Dark);
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
}

double TRepPreview::FactorX() const { return logicalDpiX() / 254.0; }
double TRepPreview::FactorY() const { return logicalDpiY() / 254.0; }

int TRepPreview::PageWidthPx() const {
  return report_ ? Round(FactorX() * report_->Page.Tenths(TRepPage::kWidth)) : 0;
}

int TRepPreview::PageHeightPx() const {
  return report_ ? Round(FactorY() * report_->Page.Tenths(TRepPage::kLength)) : 0;
}

int TRepPreview::PageCount() const { return pages_ ? pages_->PageCount() : 0; }

void TRepPreview::Attach(const TReport* report, PageGenerator* pages) {
  report_ = report;
  pages_ = pages;
  shown_ = false;
  pageNumber_ = 0;
  SetPageNumber(1);
  if (!shown_) pageNumber_ = 1;
  ApplyMode();
}

void TRepPreview::SetPageNumber(int n) {
  if (n == pageNumber_ && shown_) return;
  if (!pages_ || n < 1 || n > pages_->PageCount()) return;
  const GeneratedPage* page = pages_->Page(n - 1);
  if (!page) return;
  pageNumber_ = n;
  shown_ = true;
  static_cast<TRepPreviewImage*>(image_)->Show(report_, *page);
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  emit pageChanged();
}

void TRepPreview::PagesAdded() {
  if (!shown_) SetPageNumber(pageNumber_ < 1 ? 1 : pageNumber_);
}

void TRepPreview::SetZoom(int percent) {
  if (percent < 2 || percent > 2000) return;
  zoom_ = percent;
  mode_ = ZoomMode::Fixed;
  LayOut();
}

void TRepPreview::ZoomToFit() {
  if (PageWidthPx() <= 0 || PageHeightPx() <= 0) return;
  const int zw = Round(viewport()->width() / static_cast<double>(PageWidthPx()) * 95);
  const int zh = Round(viewport()->height() / static_cast<double>(PageHeightPx()) * 95);
  SetZoom(std::min(zw, zh));
  mode_ = ZoomMode::Fit;
}

void TRepPreview::ZoomTo100() { SetZoom(100); }

void TRepPreview::ZoomToWidth() {
  if (PageWidthPx() <= 0) return;
  SetZoom(Round(viewport()->width() / static_cast<double>(PageWidthPx()) * 90));
  mode_ = ZoomMode::Width;
}

void TRepPreview::ApplyMode() {
  switch (mode_) {
    case ZoomMode::Fit:
      ZoomToFit();
      break;
    case ZoomMode::Width:
      ZoomToWidth();
      break;
    case ZoomMode::Fixed:
      LayOut();
      break;
  }
}

void TRepPreview::LayOut() {
  const double tenthsW = report_ ? report_->Page.Tenths(TRepPage::kWidth) : 0;
  const double tenthsH = report_ ? report_->Page.Tenths(TRepPage::kLength) : 0;
  const int w = Round(FactorX() * (tenthsW / 100 * zoom_)) + 4;
  const int h = Round(FactorY() * (tenthsH / 100 * zoom_)) + 4;
  const int clientW = viewport()->width();
  const int clientH = viewport()->height();
  image_->setGeometry(w < clientW ? (clientW - w) / 2 : 0, h < clientH ? (clientH - h) / 2 : 0, w,
                      h);
  canvas_->resize(std::max(w, clientW), std::max(h, clientH));
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  image_->update();
}

void TRepPreview::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  ApplyMode();
}

}  // namespace zorel
