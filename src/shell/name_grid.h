// NameGrid: the list window's grid of enterprise names (dgInfo). One column of virtual rows
// over a RecordGridModel; advertisers in blue (yellow when selected). It shows the full name
// of a row too narrow for it as a hint laid exactly over the row, starts a record drag when
// the mouse moves with the left button held, accepts every drag but a record of another base,
// and reports drops of a record, row changes and the "Название в буфер" command to its window.
//
// Every row has the same height, so positions are computed, never stored: a list of millions
// of rows costs the grid no memory per row and no work per row when it is set. The vertical
// scroll bar counts rows (its value is the top row), like a draw grid's.
#pragma once

#include <QAbstractItemView>
#include <QByteArray>
#include <QPoint>
#include <cstdint>
#include <memory>

namespace zorel {

class RecordGridModel;
class RowHint;

class NameGrid : public QAbstractItemView {
  Q_OBJECT

 public:
  NameGrid(RecordGridModel* model, QWidget* parent = nullptr);
  ~NameGrid() override;

  int CurrentRow() const;
  void SetCurrentRow(int row);

  // The height of a row, its grid line included; the same for every row.
  int rowHeight(int) const { return rowHeight_; }
  // The row at a viewport y, -1 above the first row or below the last.
  int rowAt(int y) const;
  // The top of a row in viewport coordinates.
  int rowViewportPosition(int row) const;

  // The identity of the base the rows belong to (BaseIdentity), carried by the grid's drags
  // and required of the records dropped on it.
  void SetBaseIdentity(const QByteArray& identity) { base_ = identity; }

  bool FullNameHints() const { return fullNameHints_; }
  void SetFullNameHints(bool on) { fullNameHints_ = on; }

  // The prepared hint: its visible row slot (-1 none), text and top inside the grid.
  int HintRow() const { return hintRow_; }
  QString HintText() const { return hintText_; }
  int HintTop() const { return hintTop_; }
  // Screen point of the grid's left edge at the top of the hinted row.
  QPoint HintPosition() const;
  bool HintShown() const;

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 signals:
  void currentRowChanged(int row);
  void recordDropped(std::int32_t record);
  void copyNameRequested();

 protected:
  // Up and down by a row or a page of whole rows; Home and End to the first and the last row.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override { return 0; }
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void paintEvent(QPaintEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // dy counts rows, as the scroll bar does.
  void scrollContentsBy(int dx, int dy) override;
  // Typing does not search the names: over a million rows that would fetch every one of them.
  void keyboardSearch(const QString&) override {}

 private:
  int RowCount() const;
  int TopRow() const;
  // Rows wholly inside the viewport, at least one.
  int PageRows() const;
  void UpdateScrollRange();
  void PrepareHint(int y);
  void CancelHint();
  void StartDrag();

  RecordGridModel* model_;
  QByteArray base_;
  int rowHeight_;
  bool fullNameHints_ = true;
  int hintRow_ = -1;
  QString hintText_;
  int hintTop_ = 0;
  std::unique_ptr<RowHint> hint_;
  QPoint pressPos_;
  int pressRow_ = -1;
  bool dragArmed_ = false;
};

}  // namespace zorel
