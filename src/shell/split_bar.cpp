#include "shell/split_bar.h"

#include <QMouseEvent>
#include <QPainter>

namespace zorel {

int LowerSplitTop(int detailTop, int detailHeight, int mouseY, int clientHeight) {
  int y = detailHeight + mouseY;
  if (y > clientHeight - detailTop - 100) y = clientHeight - detailTop - 100;
  if (y < 100) y = 100;
  return detailTop + y;
}

int AdvertSplitLeft(int splitLeft, int mouseX, int lowerWidth) {
  int x = splitLeft + mouseX;
  if (x > lowerWidth - 150) x = lowerWidth - 150;
  if (x < 150) x = 150;
  return x;
}

SplitBar::SplitBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), dragBar_(new QWidget(parent)) {
  const bool horizontal = orientation == Qt::Horizontal;
  setCursor(horizontal ? Qt::SizeVerCursor : Qt::SizeHorCursor);
  if (horizontal) {
    setFixedHeight(4);
  } else {
    setFixedWidth(4);
  }
  dragBar_->setAutoFillBackground(true);
  QPalette p = dragBar_->palette();
  p.setColor(QPalette::Window, Qt::black);
  dragBar_->setPalette(p);
  dragBar_->hide();
}

void SplitBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragBar_->setGeometry(geometry());
  dragBar_->show();
  dragBar_->raise();
}

void SplitBar::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !dragBar_->isVisible() || !limit_) return;
  const QPoint pos = event->position().toPoint();
  if (orientation_ == Qt::Horizontal) {
    dragBar_->move(dragBar_->x(), limit_(pos.y()));
  } else {
    dragBar_->move(limit_(pos.x()), dragBar_->y());
  }
}

void SplitBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragBar_->isVisible()) return;
  dragBar_->hide();
  dragBar_->lower();
  if (orientation_ == Qt::Horizontal) {
    emit released(dragBar_->y(), dragBar_->height());
  } else {
    emit released(dragBar_->x(), dragBar_->width());
  }
}

void SplitBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
}

}  // namespace zorel
