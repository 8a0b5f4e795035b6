#include "shell/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zorel {
namespace {

constexpr int kSize = 20;

void Page(QPainter& p, const QRectF& r, const QColor& fill = Qt::white) {
  QPainterPath path;
  const qreal fold = 4;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setBrush(fill);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Lines(QPainter& p, const QRectF& r, int count) {
  p.setPen(QPen(QColor(110, 110, 170), 1));
  for (int i = 0; i < count; ++i) {
    const qreal y = r.top() + 4 + i * 3;
    p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
  }
}

void Magnifier(QPainter& p, const QPointF& centre, qreal radius) {
  p.setPen(QPen(QColor(90, 60, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
  const QPointF handle(centre.x() + radius * 0.75, centre.y() + radius * 0.75);
  p.drawLine(handle, QPointF(handle.x() + 4.5, handle.y() + 4.5));
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(QColor(200, 230, 255, 200));
  p.drawEllipse(centre, radius, radius);
}

void Draw(QPainter& p, ToolIconKind kind) {
  switch (kind) {
    case ToolIconKind::New:
      Page(p, QRectF(4.5, 2.5, 11, 15));
      Lines(p, QRectF(4.5, 2.5, 11, 15), 4);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(240, 200, 0));
      p.drawEllipse(QPointF(15, 15), 3.5, 3.5);
      break;
    case ToolIconKind::Open:
      p.setPen(QPen(QColor(120, 90, 20), 1));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(QRectF(2.5, 6.5, 14, 10));
      p.drawRect(QRectF(2.5, 4.5, 6, 2));
      p.setBrush(QColor(255, 225, 130));
      p.drawPolygon(QPolygonF(
          {QPointF(5.5, 9.5), QPointF(18.5, 9.5), QPointF(16.5, 16.5), QPointF(2.5, 16.5)}));
      break;
    case ToolIconKind::Save:
      p.setPen(QPen(QColor(30, 30, 80), 1));
      p.setBrush(QColor(60, 80, 170));
      p.drawRect(QRectF(3.5, 3.5, 13, 13));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 3.5, 7, 5));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(5.5, 11.5, 9, 5));
      break;
    case ToolIconKind::FormEditor:
      Page(p, QRectF(3.5, 2.5, 11, 15));
      p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(5.5, 5.5, 6, 3));
      p.drawRect(QRectF(5.5, 10.5, 6, 3));
      p.setPen(QPen(QColor(200, 120, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(17, 5), QPointF(10, 14));
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(QPointF(10, 14), QPointF(9, 16.5));
      break;
    case ToolIconKind::Delete:
      Page(p, QRectF(3.5, 2.5, 10, 14));
      Lines(p, QRectF(3.5, 2.5, 10, 14), 3);
      p.setPen(QPen(QColor(200, 20, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(10, 10), QPointF(17, 17));
      p.drawLine(QPointF(17, 10), QPointF(10, 17));
      break;
    case ToolIconKind::Copy:
      Page(p, QRectF(2.5, 2.5, 10, 12));
      Lines(p, QRectF(2.5, 2.5, 10, 12), 2);
      Page(p, QRectF(7.5, 6.5, 10, 12));
      Lines(p, QRectF(7.5, 6.5, 10, 12), 3);
      break;
    case ToolIconKind::Paste:
      p.setPen(QPen(QColor(100, 70, 20), 1));
      p.setBrush(QColor(190, 140, 70));
      p.drawRoundedRect(QRectF(2.5, 3.5, 12, 14), 1.5, 1.5);
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(QRectF(5.5, 2.5, 6, 3));
      Page(p, QRectF(8.5, 7.5, 9, 11));
      Lines(p, QRectF(8.5, 7.5, 9, 11), 2);
      break;
    case ToolIconKind::SearchRequisites:
      Page(p, QRectF(2.5, 2.5, 11, 14));
      Lines(p, QRectF(2.5, 2.5, 11, 14), 4);
      Magnifier(p, QPointF(11, 10), 4.5);
      break;
    case ToolIconKind::SearchProducts:
      p.setPen(QPen(QColor(90, 60, 30), 1));
      p.setBrush(QColor(210, 160, 90));
      p.drawRect(QRectF(2.5, 8.5, 9, 8));
      p.drawLine(QPointF(2.5, 11.5), QPointF(11.5, 11.5));
      Magnifier(p, QPointF(12, 7), 4.5);
      break;
    case ToolIconKind::SearchBranches:
      p.setPen(QPen(QColor(20, 100, 20), 1.5));
      p.drawLine(QPointF(4, 3), QPointF(4, 16));
      p.drawLine(QPointF(4, 8), QPointF(8, 8));
      p.drawLine(QPointF(4, 14), QPointF(8, 14));
      p.setBrush(QColor(60, 170, 60));
      p.drawRect(QRectF(2, 2, 4, 3));
      Magnifier(p, QPointF(12, 10), 4.5);
      break;
    case ToolIconKind::Exit:
      p.setPen(QPen(QColor(80, 50, 20), 1));
      p.setBrush(QColor(150, 100, 50));
      p.drawRect(QRectF(3.5, 2.5, 9, 15));
      p.setBrush(QColor(230, 190, 60));
      p.drawEllipse(QPointF(10.5, 10.5), 1, 1);
      p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(12, 10), QPointF(18, 10));
      p.drawLine(QPointF(18, 10), QPointF(15.5, 7.5));
      p.drawLine(QPointF(18, 10), QPointF(15.5, 12.5));
      break;
  }
}

}  // namespace

QIcon ToolIcon(ToolIconKind kind) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  Draw(p, kind);
  p.end();
  return QIcon(pixmap);
}

}  // namespace zorel
