// TRepPreview: the scrolling page area of the preview window. It shows one generated page at
// a time as an image scaled to Zoom per cent, centred while it is smaller than the area, and
// keeps the zoom mode: fit the whole page, fit the width, or a fixed zoom.
#pragma once

#include <QScrollArea>

namespace zorel {

class PageGenerator;
class TReport;

class TRepPreview : public QScrollArea {
  Q_OBJECT

 public:
  enum class ZoomMode { Fit = 0, Width = 1, Fixed = 2 };

  explicit TRepPreview(QWidget* parent = nullptr);

  // The run whose pages are shown: goes to page 1 and applies the zoom mode. Both must
  // outlive the attachment (Attach(nullptr, nullptr) detaches). The shown page is made
  // from the run when it is wanted; only it and a few around it are kept.
  void Attach(const TReport* report, PageGenerator* pages);

  int PageNumber() const { return pageNumber_; }
  // Accepted only from 1 to the number of pages generated so far.
  void SetPageNumber(int n);
  int PageCount() const;

  int Zoom() const { return zoom_; }
  // Accepts 2 to 2000 per cent and sets the fixed mode; ignores anything else.
  void SetZoom(int percent);
  ZoomMode Mode() const { return mode_; }
  void ZoomToFit();
  void ZoomTo100();
  void ZoomToWidth();

  // The page at 100 per cent in screen pixels.
  int PageWidthPx() const;
  int PageHeightPx() const;
  // Pixels per tenth of a millimetre at 100 per cent.
  double FactorX() const;
  double FactorY() const;
  QWidget* PageImage() const { return image_; }

  // More pages were generated: shows the first one when none was shown yet.
  void PagesAdded();

 signals:
  void pageChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyMode();
  void LayOut();

  const TReport* report_ = nullptr;
  PageGenerator* pages_ = nullptr;
  QWidget* canvas_;
  QWidget* image_;
  int pageNumber_ = 1;
  bool shown_ = false;
  int zoom_ = 100;
  ZoomMode mode_ = ZoomMode::Fixed;
};

}  // namespace zorel
