// SplitBar: the 4-pixel bars between the list window's panels. While the left button is held
// a black drag bar (a sibling of the bar, hidden otherwise) follows the mouse within the limits
// the owner gives; on release the owner learns where the drag bar ended and sizes its panels.
// The limit rules themselves are plain functions, below.
#pragma once

#include <QWidget>
#include <functional>

namespace zorel {

// The lower splitter: y := detailHeight + mouseY, at most clientHeight - detailTop - 100, then
// at least 100 (the lower limit wins in a window too small for both). Gives the drag bar's top.
int LowerSplitTop(int detailTop, int detailHeight, int mouseY, int clientHeight);
// The advertising splitter: x := splitLeft + mouseX, at most lowerWidth - 150, then at least 150.
// Gives the drag bar's left.
int AdvertSplitLeft(int splitLeft, int mouseX, int lowerWidth);

class SplitBar : public QWidget {
  Q_OBJECT

 public:
  // A horizontal bar (Qt::Horizontal) moves up and down, a vertical one left and right.
  SplitBar(Qt::Orientation orientation, QWidget* parent);

  // Maps the mouse coordinate along the bar's axis (relative to the bar) to the drag bar's
  // position in the parent.
  void SetLimit(std::function<int(int mouse)> limit) { limit_ = std::move(limit); }
  QWidget* DragBar() const { return dragBar_; }

 signals:
  // The drag bar's position along the axis and its thickness when the button was released.
  void released(int position, int thickness);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Orientation orientation_;
  QWidget* dragBar_;
  std::function<int(int)> limit_;
};

}  // namespace zorel
