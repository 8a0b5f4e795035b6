#include "report/page_painter.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

namespace zorel {
namespace {

constexpr double kTenthsPerPoint = 254.0 / 72;
constexpr double kTenthsPerScreenPixel = 254.0 / 96;
constexpr int kDefaultFontHeight = 11;

int Px(double tenths, double f, int origin) {
  return origin + static_cast<int>(std::lround(tenths * f));
}

Qt::PenStyle ToQtPen(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::Solid:
      break;
  }
  return Qt::SolidLine;
}

// Lines leave out their end point, as the frame rule's line operation does.
void Lines(QPainter& p, bool solid, int count, int x0, int y0, int x1, int y1, int dx, int dy) {
  if (count <= 0 || (x0 == x1 && y0 == y1)) return;
  if (solid) {  // the same pixels as count one-pixel lines, in one rectangle
    const int w = dx ? count : x1 - x0;
    const int h = dy ? count : y1 - y0;
    const int x = dx < 0 ? x0 - count + 1 : x0;
    const int y = dy < 0 ? y0 - count + 1 : y0;
    p.fillRect(x, y, w, h, p.pen().color());
    return;
  }
  for (int i = 0; i < count; ++i) {
    const QPoint from(x0 + i * dx, y0 + i * dy);
    const QPoint to(x1 + i * dx - (x1 > x0), y1 + i * dy - (y1 > y0));
    p.drawLine(from, to);
  }
}

void DrawLabels(QPainter& p, const TReport& report, const PlacedBand& band, double fx, double fy,
                QPoint origin, const std::vector<QFont>& fonts) {
  const auto& labels = report.DetailBand()->Labels();
  const std::size_t n = std::min(labels.size(), band.texts.size());
  for (std::size_t i = 0; i < n; ++i) {
    const TRepLabel& label = *labels[i];
    const int l = Px(band.left + label.Size.Left, fx, origin.x());
    const int t = Px(band.top + label.Size.Top, fy, origin.y());
    const int r = Px(band.left + label.Size.Left + label.Size.Width, fx, origin.x());
    const int b = Px(band.top + label.Size.Top + label.Size.Height, fy, origin.y());
    const QString& text = band.texts[i];
    if (!text.isEmpty()) {
      p.setFont(fonts[i]);
      p.setPen(ToQColor(label.Font.Color));
      const int flags = Qt::AlignLeft | Qt::AlignTop | (label.AutoSize ? 0 : Qt::TextWordWrap);
      p.drawText(QRect(l, t, r - l, b - t), flags, text);
    }
    if (label.Frame.Present()) DrawFrame(p, label.Frame, l, t, r, b, fx, fy);
  }
}

}  // namespace

QColor ToQColor(RepColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QFont DeviceFont(const ReportFont& font, double fy) {
  QFont f(font.Name);
  f.setStyleHint(QFont::SansSerif);
  const int height = font.Height == 0 ? kDefaultFontHeight : std::abs(font.Height);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(height * kTenthsPerScreenPixel * fy))));
  f.setBold(font.Style & kFsBold);
  f.setItalic(font.Style & kFsItalic);
  f.setUnderline(font.Style & kFsUnderline);
  f.setStrikeOut(font.Style & kFsStrikeOut);
  return f;
}

int FrameThickness(double f, int width) {
  if (width == 0) return 0;
  if (width < 0) return 1;
  const int t = static_cast<int>(std::nearbyint(f * kTenthsPerPoint * width));
  return std::max(1, t);
}

void DrawFrame(QPainter& p, const TRepFrame& frame, int l, int t, int r, int b, double fx,
               double fy) {
  const int tx = FrameThickness(fx, frame.Width);
  const int ty = FrameThickness(fy, frame.Width);
  if (tx == 0 && ty == 0) return;
  p.save();
  p.setPen(QPen(ToQColor(frame.Color), 0, ToQtPen(frame.Style)));
  p.setBrush(Qt::NoBrush);
  const bool solid = frame.Style == PenStyle::Solid;
  if (frame.DrawTop) Lines(p, solid, ty, l, t, r, t, 0, 1);
  if (frame.DrawBottom) Lines(p, solid, ty, l, b, r, b, 0, -1);
  if (frame.DrawLeft) Lines(p, solid, tx, l, t, l, b, 1, 0);
  if (frame.DrawRight) Lines(p, solid, tx, r, t, r, b, -1, 0);
  p.restore();
}

void PaintPage(QPainter& p, const TReport& report, const GeneratedPage& page, double fx, double fy,
               QPoint origin) {
  const TRepPage& pg = report.Page;
  const int printLeft = Px(pg.Tenths(TRepPage::kLeftMargin), fx, origin.x());
  const int printTop = Px(pg.Tenths(TRepPage::kTopMargin), fy, origin.y());
  const int printRight = Px(pg.Tenths(TRepPage::kLeftMargin) + pg.PrintableWidth(), fx, origin.x());
  const int printBottom =
      Px(pg.Tenths(TRepPage::kTopMargin) + pg.PrintableHeight(), fy, origin.y());
  const QRect printable(printLeft, printTop, printRight - printLeft, printBottom - printTop);
  if (report.Frame.Present()) {
    DrawFrame(p, report.Frame, printLeft, printTop, printRight, printBottom, fx, fy);
  }
  if (!report.HasDetail() || page.bands.empty()) return;
  const TRepBand& band = *report.DetailBand();
  std::vector<QFont> fonts;
  for (const auto& label : band.Labels()) fonts.push_back(DeviceFont(label->Font, fy));
  for (const PlacedBand& placed : page.bands) {
    const int l = Px(placed.left, fx, origin.x());
    const int t = Px(placed.top, fy, origin.y());
    const int r = Px(placed.left + pg.ColumnWidth(), fx, origin.x());
    const int b = Px(placed.top + band.HeightTenths, fy, origin.y());
    p.save();
    // Labels stay inside their band, and a band taller than the page inside the margins.
    p.setClipRect(QRect(l, t, r - l + 1, b - t + 1).intersected(printable.adjusted(0, 0, 1, 1)));
    DrawLabels(p, report, placed, fx, fy, origin, fonts);
    if (band.Frame.Present()) DrawFrame(p, band.Frame, l, t, r, b, fx, fy);
    p.restore();
  }
}

}  // namespace zorel
