// TGradientFill: a background made of flat colour bands running from BeginColor to EndColor.
// The main window's tool bar uses it behind its buttons. It takes no input of its own; place
// it under other widgets and it only paints.
#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace zorel {

// x * y / z rounded to the nearest whole number, halves away from zero, without overflow of
// the 32-bit operands. Gives -1 when z is 0.
int MulDiv(int x, int y, int z);

class TGradientFill : public QWidget {
  Q_OBJECT

 public:
  // Which side BeginColor lies on.
  enum Direction { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };
  Q_ENUM(Direction)

  explicit TGradientFill(QWidget* parent = nullptr);

  QColor BeginColor() const { return begin_; }
  void SetBeginColor(const QColor& color);
  QColor EndColor() const { return end_; }
  void SetEndColor(const QColor& color);
  Direction FillDirection() const { return direction_; }
  void SetFillDirection(Direction direction);
  int NumberOfColors() const { return colors_; }
  // Kept within 1..255.
  void SetNumberOfColors(int n);

  // Paints the bands over (0, 0, size) with any painter.
  static void PaintBands(QPainter& painter, QSize size, const QColor& begin, const QColor& end,
                         Direction direction, int colors);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor begin_{0, 0, 255};
  QColor end_{0, 0, 0};
  Direction direction_ = fdTopToBottom;
  int colors_ = 16;
};

}  // namespace zorel
