#include "components/gradient_fill.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>

namespace zorel {

int MulDiv(int x, int y, int z) {
  if (z == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(x) * y;
  const std::int64_t az = z < 0 ? -static_cast<std::int64_t>(z) : z;
  const std::int64_t ap = p < 0 ? -p : p;
  const std::int64_t q = (2 * ap + az) / (2 * az);
  return static_cast<int>(((p < 0) != (z < 0)) ? -q : q);
}

TGradientFill::TGradientFill(QWidget* parent) : QWidget(parent) {
  resize(105, 105);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGradientFill::SetBeginColor(const QColor& color) {
  begin_ = color;
  update();
}

void TGradientFill::SetEndColor(const QColor& color) {
  end_ = color;
  update();
}

void TGradientFill::SetFillDirection(Direction direction) {
  if (direction == direction_) return;
  direction_ = direction;
  update();
}

void TGradientFill::SetNumberOfColors(int n) {
  colors_ = std::clamp(n, 1, 255);
  update();
}

void TGradientFill::PaintBands(QPainter& painter, QSize size, const QColor& begin,
                               const QColor& end, Direction direction, int colors) {
  const bool reversed = direction == fdBottomToTop || direction == fdRightToLeft;
  const bool vertical = direction == fdTopToBottom || direction == fdBottomToTop;
  const QColor from = (reversed ? end : begin).toRgb();
  const QColor to = (reversed ? begin : end).toRgb();
  const int n = std::clamp(colors, 1, 255);
  const int dr = to.red() - from.red();
  const int dg = to.green() - from.green();
  const int db = to.blue() - from.blue();
  const int w = size.width();
  const int h = size.height();
  for (int i = 0; i < n; ++i) {
    QColor c = from;
    if (n > 1) {
      c = QColor(from.red() + MulDiv(i, dr, n - 1), from.green() + MulDiv(i, dg, n - 1),
                 from.blue() + MulDiv(i, db, n - 1));
    }
    const QRect band =
        vertical ? QRect(QPoint(0, MulDiv(i, h, n)), QPoint(w - 1, MulDiv(i + 1, h, n) - 1))
                 : QRect(QPoint(MulDiv(i, w, n), 0), QPoint(MulDiv(i + 1, w, n) - 1, h - 1));
    painter.fillRect(band, c);
  }
}

void TGradientFill::paintEvent(QPaintEvent*) {
  // The widget is double-buffered by the toolkit, so the bands go straight to it.
  QPainter painter(this);
  PaintBands(painter, size(), begin_, end_, direction_, colors_);
}

}  // namespace zorel
