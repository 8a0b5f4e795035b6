// TNameGrid: the list window's grid of enterprise names (dgInfo). One column of virtual rows
// over a TRecordGridModel; advertisers in blue (yellow when selected). It shows the full name
// of a row too narrow for it as a hint laid exactly over the row, starts a record drag when
// the mouse moves with the left button held, accepts every drag, and reports drops of a
// record, row changes and the "Название в буфер" command to its window.
#pragma once

#include <QPoint>
#include <QTableView>
#include <cstdint>

class QLabel;

namespace zorel {

class TRecordGridModel;

class TNameGrid : public QTableView {
  Q_OBJECT

 public:
  TNameGrid(TRecordGridModel* model, QWidget* parent = nullptr);

  int CurrentRow() const;
  void SetCurrentRow(int row);

  bool FullNameHints() const { return fullNameHints_; }
  void SetFullNameHints(bool on) { fullNameHints_ = on; }

  // The prepared hint: its visible row slot (-1 none), text and top inside the grid.
  int HintRow() const { return hintRow_; }
  QString HintText() const { return hintText_; }
  int HintTop() const { return hintTop_; }
  // Screen point of the grid's left edge at the top of the hinted row.
  QPoint HintPosition() const;
  bool HintShown() const;

 signals:
  void currentRowChanged(int row);
  void recordDropped(std::int32_t record);
  void copyNameRequested();

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // In a grid of one column Home and End go to the first and the last row.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  // Typing does not search the names: over a million rows that would fetch every one of them.
  void keyboardSearch(const QString&) override {}

 private:
  void PrepareHint(int y);
  void CancelHint();
  void StartDrag();

  TRecordGridModel* model_;
  bool fullNameHints_ = true;
  int hintRow_ = -1;
  QString hintText_;
  int hintTop_ = 0;
  QLabel* hintLabel_;
  QPoint pressPos_;
  int pressRow_ = -1;
  bool dragArmed_ = false;
};

}  // namespace zorel
