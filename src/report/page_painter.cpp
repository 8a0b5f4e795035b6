#include "report/page_painter.h"

#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace zorel {
namespace {

constexpr double kTenthsPerPoint = 254.0 / 72;
constexpr double kTenthsPerScreenPixel = 254.0 / 96;
constexpr int kDefaultFontHeight = 11;

int Px(double tenths, double f, int origin) {
  return origin + static_cast<int>(std::lround(tenths * f));
}

constexpr double kLayoutPerTenth = 10;  // text is laid out in hundredths of a millimetre

// The on and off lengths of a line style, in units of the line's width.
std::vector<double> DashPattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {3, 1};
    case PenStyle::Dot:
      return {1, 1};
    case PenStyle::DashDot:
      return {3, 1, 1, 1};
    case PenStyle::DashDotDot:
      return {3, 1, 1, 1, 1, 1};
    case PenStyle::Solid:
      break;
  }
  return {};
}

// One side of a frame, the device rectangle side, solid or broken into the style's dashes
// along its length; unit is the pattern's unit in device pixels.
void FillSide(QPainter& p, const QColor& color, QRect side, bool horizontal, PenStyle style,
              double unit) {
  const std::vector<double> pattern = DashPattern(style);
  if (pattern.empty() || side.isEmpty()) {
    p.fillRect(side, color);
    return;
  }
  const int length = horizontal ? side.width() : side.height();
  double at = 0;
  for (std::size_t i = 0; at < length; i = (i + 1) % pattern.size()) {
    const double next = at + pattern[i] * unit;
    if (i % 2 == 0) {
      const int from = static_cast<int>(std::lround(at));
      const int to = std::min(length, static_cast<int>(std::lround(next)));
      if (to > from) {
        p.fillRect(horizontal ? QRect(side.left() + from, side.top(), to - from, side.height())
                              : QRect(side.left(), side.top() + from, side.width(), to - from),
                   color);
      }
    }
    at = next;
  }
}

// How far a drawn side's line reaches into the label, in tenths: the line's width on the page.
double Inset(const TRepFrame& frame, bool drawn) {
  if (!drawn || frame.Width == 0) return 0;
  return std::max(frame.Width, 1) * kTenthsPerPoint;
}

QFont LayoutFont(const ReportFont& font) {
  QFont f(font.Name);
  f.setStyleHint(QFont::SansSerif);
  f.setHintingPreference(QFont::PreferNoHinting);
  const int height = font.Height == 0 ? kDefaultFontHeight : std::abs(font.Height);
  f.setPixelSize(
      std::max(1, static_cast<int>(std::lround(height * kTenthsPerScreenPixel * kLayoutPerTenth))));
  f.setBold(font.Style & kFsBold);
  f.setItalic(font.Style & kFsItalic);
  f.setUnderline(font.Style & kFsUnderline);
  f.setStrikeOut(font.Style & kFsStrikeOut);
  return f;
}

// Lays text out inside the label's frame lines, in hundredths of a millimetre from the text's
// corner, as far down as the label reaches; true when it all fits.
bool LayOut(QTextLayout& layout, const TRepLabel& label, const QString& text) {
  const TRepFrame& frame = label.Frame;
  const double width =
      (label.Size.Width - Inset(frame, frame.DrawLeft) - Inset(frame, frame.DrawRight)) *
      kLayoutPerTenth;
  const double height =
      (label.Size.Height - Inset(frame, frame.DrawTop) - Inset(frame, frame.DrawBottom)) *
      kLayoutPerTenth;
  QTextOption option;
  option.setUseDesignMetrics(true);
  option.setWrapMode(label.AutoSize ? QTextOption::NoWrap : QTextOption::WordWrap);
  layout.setText(text);
  layout.setFont(LayoutFont(label.Font));
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  bool fits = true;
  double y = 0;
  layout.beginLayout();
  for (;;) {
    if (y >= height) {
      fits = fits && layout.createLine().isValid() == false;
      break;
    }
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    if (!label.AutoSize) line.setLineWidth(std::max(0.0, width));
    line.setPosition(QPointF(0, y));
    y += line.height();
    if (!label.AutoSize && (line.naturalTextWidth() > width + 1 || y > height + 1)) fits = false;
  }
  layout.endLayout();
  return fits || label.AutoSize;
}

}  // namespace

QColor ToQColor(RepColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void PaintLabel(QPainter& p, const TRepLabel& label, const QString& text, QRect r, double fx,
                double fy) {
  if (!text.isEmpty()) {
    QTextLayout layout;
    LayOut(layout, label, text);
    p.save();
    // A word longer than the label is cut at its edge; an AutoSize label takes its text's width.
    if (!label.AutoSize)
      p.setClipRect(QRect(r.topLeft(), r.size() - QSize(1, 1)), Qt::IntersectClip);
    p.setPen(ToQColor(label.Font.Color));
    p.translate(r.left() + Inset(label.Frame, label.Frame.DrawLeft) * fx,
                r.top() + Inset(label.Frame, label.Frame.DrawTop) * fy);
    p.scale(fx / kLayoutPerTenth, fy / kLayoutPerTenth);
    layout.draw(&p, QPointF(0, 0));
    p.restore();
  }
  if (label.Frame.Present())
    DrawFrame(p, label.Frame, r.left(), r.top(), r.right(), r.bottom(), fx, fy);
}

bool LabelTextFits(const TRepLabel& label, const QString& text) {
  QTextLayout layout;
  return text.isEmpty() || LayOut(layout, label, text);
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
  const QColor color = ToQColor(frame.Color);
  // Dots and dashes are measured on the page: a point long per point of the line's width.
  const double unit = std::max(frame.Width, 1) * kTenthsPerPoint;
  // Lines leave out their end point, as the frame rule's line operation does.
  if (frame.DrawTop) FillSide(p, color, QRect(l, t, r - l, ty), true, frame.Style, unit * fx);
  if (frame.DrawBottom)
    FillSide(p, color, QRect(l, b - ty + 1, r - l, ty), true, frame.Style, unit * fx);
  if (frame.DrawLeft) FillSide(p, color, QRect(l, t, tx, b - t), false, frame.Style, unit * fy);
  if (frame.DrawRight)
    FillSide(p, color, QRect(r - tx + 1, t, tx, b - t), false, frame.Style, unit * fy);
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
  for (const PlacedBand& placed : page.bands) {
    const int l = Px(placed.left, fx, origin.x());
    const int t = Px(placed.top, fy, origin.y());
    const int r = Px(placed.left + pg.ColumnWidth(), fx, origin.x());
    const int b = Px(placed.top + band.HeightTenths, fy, origin.y());
    p.save();
    // Labels stay inside their band, and a band taller than the page inside the margins.
    p.setClipRect(QRect(l, t, r - l + 1, b - t + 1).intersected(printable.adjusted(0, 0, 1, 1)));
    const auto& labels = band.Labels();
    for (std::size_t i = 0; i < std::min(labels.size(), placed.texts.size()); ++i) {
      const TRepLabel::Measures& m = labels[i]->Size;
      const QPoint from(Px(placed.left + m.Left, fx, origin.x()),
                        Px(placed.top + m.Top, fy, origin.y()));
      const QPoint to(Px(placed.left + m.Left + m.Width, fx, origin.x()),
                      Px(placed.top + m.Top + m.Height, fy, origin.y()));
      PaintLabel(p, *labels[i], placed.texts[i], QRect(from, to), fx, fy);
    }
    if (band.Frame.Present()) DrawFrame(p, band.Frame, l, t, r, b, fx, fy);
    p.restore();
  }
}

}  // namespace zorel
