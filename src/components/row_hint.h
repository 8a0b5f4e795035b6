// RowHint: the whole text of a row whose text is cut, laid exactly over the row in a tool-tip
// window that lets the mouse through. The window system reports the mouse leaving the view
// when such a window opens under the pointer; PointerOnRow tells that leave from a real one,
// so the hint stays up until the pointer leaves the row.
//
// While it is shown the hint watches the whole program: it goes when the pointer is seen off the
// row (over another widget, another program or the desktop), and when the view or a window
// holding it is moved, resized, hidden, minimised or deactivated, so it never floats over a
// place its row has left.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

namespace zorel {

class RowHint : public QObject {
 public:
  // view: the widget whose rows are hinted (a view's viewport); it owns the hint window, named
  // name.
  RowHint(QWidget* view, const QString& name);
  ~RowHint() override;

  // row in view coordinates; the text starts indent pixels from its left edge.
  void Show(const QString& text, const QRect& row, int indent);
  void Hide();
  bool IsShown() const;
  QString Text() const;
  QRect Geometry() const;
  bool PointerOnRow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Off the row, or the row is no longer where the hint was laid.
  bool Stale() const;

  QWidget* view_;
  QLabel* label_;
  QRect row_;
  QTimer watch_;
};

}  // namespace zorel
