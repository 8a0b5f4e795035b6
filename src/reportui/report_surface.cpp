#include "reportui/report_surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "report/page_painter.h"
#include "report/report.h"
#include "reportui/rep_designer.h"

namespace zorel {
namespace {

// The grey border around the page, so that handles on its edges stay visible.
constexpr int kBorder = 12;
constexpr double kPixelsPerTenth = 96.0 / 254.0;

void PaintFrame(QPainter& p, const TRepFrame& frame, const DragRect& r) {
  if (frame.Present())
    DrawFrame(p, frame, r.left, r.top, r.right, r.bottom, kPixelsPerTenth, kPixelsPerTenth);
}

QRect ToQRect(const DragRect& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// The mark of a label whose text is cut: a red triangle in its bottom right corner.
void PaintCutMark(QPainter& p, const DragRect& r) {
  constexpr int kMark = 7;
  const QPoint corner(r.right - 1, r.bottom - 1);
  const QPoint points[] = {corner, corner - QPoint(kMark, 0), corner - QPoint(0, kMark)};
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD0, 0x10, 0x10));
  p.drawPolygon(points, 3);
  p.restore();
}

bool Contains(const DragRect& r, QPoint p) {
  return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

}  // namespace

ReportSurface::ReportSurface(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Report"));
  setFocusPolicy(Qt::ClickFocus);
  setAutoFillBackground(false);
}

void ReportSurface::SetReport(TReport* report) {
  report_ = report;
  UpdateGeometry();
  update();
}

DragRect ReportSurface::PageRect() const {
  if (!report_) return {};
  return RectOf(kBorder, kBorder, TenthsToPixels(report_->Page.Tenths(TRepPage::kWidth)),
                TenthsToPixels(report_->Page.Tenths(TRepPage::kLength)));
}

DragRect ReportSurface::BandRect() const {
  if (!report_ || !report_->HasDetail()) return {};
  const TRepPage& page = report_->Page;
  return RectOf(kBorder + TenthsToPixels(page.Tenths(TRepPage::kLeftMargin)),
                kBorder + TenthsToPixels(page.Tenths(TRepPage::kTopMargin)),
                TenthsToPixels(page.ColumnWidth()),
                TenthsToPixels(report_->DetailBand()->HeightTenths));
}

QStringList ReportSurface::CutLabels() const {
  QStringList cut;
  if (!report_ || !report_->HasDetail()) return cut;
  for (const auto& label : report_->DetailBand()->Labels()) {
    if (!LabelTextFits(*label, printedText ? printedText(*label) : label->Caption))
      cut << label->Name;
  }
  return cut;
}

DragRect ReportSurface::LabelRect(const TRepLabel& l) {
  return RectOf(l.Left(), l.Top(), l.Width(), l.Height());
}

DragRect ReportSurface::BoundsOf(const DesignObject& object) const {
  switch (object.kind) {
    case DesignObject::Kind::Band:
      return BandRect();
    case DesignObject::Kind::Label: {
      const DragRect band = BandRect();
      return LabelRect(*object.label).Shifted({band.left, band.top});
    }
    default:
      return {};
  }
}

DesignObject ReportSurface::ObjectAt(QPoint pos) const {
  if (!report_) return DesignObject::None();
  if (const TRepBand* band = report_->DetailBand()) {
    const DragRect b = BandRect();
    const auto& labels = band->Labels();
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
      if (Contains(LabelRect(**it).Shifted({b.left, b.top}), pos)) {
        return DesignObject::Label(it->get());
      }
    }
    if (Contains(b, pos)) return DesignObject::Band();
  }
  return Contains(PageRect(), pos) ? DesignObject::Report() : DesignObject::None();
}

QSize ReportSurface::sizeHint() const {
  const DragRect page = PageRect();
  return {page.right + kBorder, page.bottom + kBorder};
}

void ReportSurface::UpdateGeometry() {
  resize(sizeHint());
  updateGeometry();
}

void ReportSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Dark));
  if (!report_) return;
  const TRepPage& page = report_->Page;
  p.fillRect(ToQRect(PageRect()), Qt::white);

  // The printable area with the report's frame, and the columns beyond the first.
  const DragRect band = BandRect();
  const DragRect paper = PageRect();
  const DragRect printable{paper.left + TenthsToPixels(page.Tenths(TRepPage::kLeftMargin)),
                           paper.top + TenthsToPixels(page.Tenths(TRepPage::kTopMargin)),
                           paper.right - TenthsToPixels(page.Tenths(TRepPage::kRightMargin)),
                           paper.bottom - TenthsToPixels(page.Tenths(TRepPage::kBottomMargin))};
  p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
  p.drawRect(ToQRect(printable));
  PaintFrame(p, report_->Frame, printable);
  for (int c = 1; c < page.Columns(); ++c) {
    const double step = page.ColumnWidth() + page.Tenths(TRepPage::kColumnSpace);
    const int left = band.left + TenthsToPixels(c * step);
    p.drawRect(ToQRect(RectOf(left, band.top, band.Width(), band.Height())));
  }
  const TRepBand* detail = report_->DetailBand();
  if (!detail) return;
  p.fillRect(ToQRect(band), QColor(0xF4, 0xF6, 0xFA));
  p.setPen(QPen(QColor(0x90, 0x90, 0xA0), 1, Qt::DashLine));
  p.drawRect(ToQRect(band));
  PaintFrame(p, detail->Frame, band);

  for (const auto& label : detail->Labels()) {
    const DragRect r = LabelRect(*label).Shifted({band.left, band.top});
    const QRect q = ToQRect(r);
    p.fillRect(q, Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.save();
    p.translate(r.left, r.top);
    for (const QLine& line : CornerMarkLines(r.Width(), r.Height())) p.drawLine(line);
    p.restore();
    PaintLabel(p, *label, label->Caption, QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)),
               kPixelsPerTenth, kPixelsPerTenth);
    if (!LabelTextFits(*label, printedText ? printedText(*label) : label->Caption))
      PaintCutMark(p, r);
  }

  if (designer_ && designer_->FocusRect()) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(ToQRect(Normalized(*designer_->FocusRect())));
  }
}

void ReportSurface::mousePressEvent(QMouseEvent* event) {
  if (!designer_) return QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  designer_->ObjectPress(ObjectAt(pos), pos, event->button());
}

// A handle hides itself when its drag starts, so the surface holds the mouse for it.
void ReportSurface::mouseMoveEvent(QMouseEvent* event) {
  if (!designer_) return;
  const QPoint pos = event->position().toPoint();
  designer_->Dragging() ? designer_->HandleMove(pos) : designer_->ObjectMove(pos);
}

void ReportSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (!designer_) return;
  const QPoint pos = event->position().toPoint();
  if (designer_->Dragging()) {
    designer_->HandleRelease(pos, event->button());
  } else {
    designer_->ObjectRelease(pos, event->button());
  }
}

void ReportSurface::keyPressEvent(QKeyEvent* event) {
  if (!designer_) return QWidget::keyPressEvent(event);
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Delete:
      designer_->DeleteSelection();
      break;
    case Qt::Key_Left:
      designer_->NudgeSelection(-1, 0, shift);
      break;
    case Qt::Key_Right:
      designer_->NudgeSelection(1, 0, shift);
      break;
    case Qt::Key_Up:
      designer_->NudgeSelection(0, -1, shift);
      break;
    case Qt::Key_Down:
      designer_->NudgeSelection(0, 1, shift);
      break;
    default:
      return QWidget::keyPressEvent(event);
  }
  event->accept();
}

}  // namespace zorel
