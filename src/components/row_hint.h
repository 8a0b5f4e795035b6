// RowHint: the whole text of a row whose text is cut, laid exactly over the row in a tool-tip
// window that lets the mouse through. The window system reports the mouse leaving the view
// when such a window opens under the pointer; PointerOnRow tells that leave from a real one,
// so the hint stays up until the pointer leaves the row.
#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace zorel {

class RowHint {
 public:
  // view: the widget whose rows are hinted (a view's viewport); it owns the hint window, named
  // name.
  RowHint(QWidget* view, const QString& name);

  // row in view coordinates; the text starts indent pixels from its left edge.
  void Show(const QString& text, const QRect& row, int indent);
  void Hide();
  bool IsShown() const;
  QString Text() const;
  QRect Geometry() const;
  bool PointerOnRow() const;

 private:
  QWidget* view_;
  QLabel* label_;
  QRect row_;
};

}  // namespace zorel
