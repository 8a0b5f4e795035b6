// The name grid: computed uniform rows, painting of the rows in view only, hints and drags.
#include "shell/name_grid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "components/row_hint.h"
#include "shell/record_drag.h"
#include "shell/record_grid_model.h"

namespace zorel {
namespace {

// The width of the grid lines under each row and right of the column.
constexpr int kGridLine = 1;

// Advertisers in blue, yellow when selected; everything else black, white when selected.
class NameDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool advert = index.data(RecordGridModel::HasAdvertRole).toBool();
    option->palette.setColor(QPalette::Text, advert ? Qt::blue : Qt::black);
    option->palette.setColor(QPalette::HighlightedText, advert ? Qt::yellow : Qt::white);
    option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
  }
};

}  // namespace

NameGrid::NameGrid(RecordGridModel* model, QWidget* parent)
    : QAbstractItemView(parent),
      model_(model),
      hint_(std::make_unique<RowHint>(viewport(), QStringLiteral("NameHint"))) {
  setObjectName(QStringLiteral("dgInfo"));
  QFont f = font();
  f.setPixelSize(13);
  setFont(f);
  rowHeight_ = QFontMetrics(f).height() + 4;
  setItemDelegate(new NameDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setModel(model);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  setPalette(p);
  viewport()->setMouseTracking(true);
  viewport()->setAcceptDrops(true);
  setAcceptDrops(true);
}

NameGrid::~NameGrid() = default;

int NameGrid::CurrentRow() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? index.row() : 0;
}

void NameGrid::SetCurrentRow(int row) {
  const int last = RowCount() - 1;
  setCurrentIndex(model()->index(std::clamp(row, 0, std::max(last, 0)), 0));
}

int NameGrid::RowCount() const { return model() != nullptr ? model()->rowCount() : 0; }

int NameGrid::TopRow() const { return verticalScrollBar()->value(); }

int NameGrid::PageRows() const { return std::max(1, viewport()->height() / rowHeight_); }

int NameGrid::rowAt(int y) const {
  if (y < 0) return -1;
  const int row = TopRow() + y / rowHeight_;
  return row < RowCount() ? row : -1;
}

int NameGrid::rowViewportPosition(int row) const { return (row - TopRow()) * rowHeight_; }

int NameGrid::verticalOffset() const { return TopRow() * rowHeight_; }

QRect NameGrid::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != model()) return {};
  return {0, rowViewportPosition(index.row()), viewport()->width() - kGridLine,
          rowHeight_ - kGridLine};
}

QModelIndex NameGrid::indexAt(const QPoint& point) const {
  const int row = rowAt(point.y());
  if (row < 0 || point.x() < 0 || point.x() >= viewport()->width()) return {};
  return model()->index(row, 0);
}

void NameGrid::UpdateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const int page = PageRows();
  bar->setSingleStep(1);
  bar->setPageStep(page);
  bar->setRange(0, std::max(0, RowCount() - page));
}

void NameGrid::updateGeometries() {
  UpdateScrollRange();
  QAbstractItemView::updateGeometries();
}

void NameGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid() || index.model() != model()) return;
  // The list may have just been replaced; the range must fit it before the row is placed.
  UpdateScrollRange();
  const int row = index.row();
  const int page = PageRows();
  int top = TopRow();
  switch (hint) {
    case EnsureVisible:
      if (row < top) {
        top = row;
      } else if (row >= top + page) {
        top = row - page + 1;
      }
      break;
    case PositionAtTop:
      top = row;
      break;
    case PositionAtBottom:
      top = row - page + 1;
      break;
    case PositionAtCenter:
      top = row - page / 2;
      break;
  }
  verticalScrollBar()->setValue(top);
}

QModelIndex NameGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int last = RowCount() - 1;
  if (last < 0) return {};
  const int current = currentIndex().isValid() ? currentIndex().row() : 0;
  int row = current;
  switch (action) {
    case MoveUp:
    case MovePrevious:
      row = current - 1;
      break;
    case MoveDown:
    case MoveNext:
      row = current + 1;
      break;
    case MovePageUp:
      row = current - PageRows();
      break;
    case MovePageDown:
      row = current + PageRows();
      break;
    case MoveHome:
      row = 0;
      break;
    case MoveEnd:
      row = last;
      break;
    case MoveLeft:
    case MoveRight:
      break;
  }
  return model()->index(std::clamp(row, 0, last), 0);
}

void NameGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  const QRect r = rect.normalized();
  const int last = RowCount() - 1;
  if (last < 0) return;
  const int first = std::clamp(TopRow() + std::max(r.top(), 0) / rowHeight_, 0, last);
  const int end = std::clamp(TopRow() + std::max(r.bottom(), 0) / rowHeight_, 0, last);
  selectionModel()->select(QItemSelection(model()->index(first, 0), model()->index(end, 0)),
                           command);
}

QRegion NameGrid::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const int top = TopRow();
  const int bottom = top + PageRows();
  for (const QItemSelectionRange& range : selection) {
    const int first = std::max(range.top(), top);
    const int last = std::min(range.bottom(), bottom);
    if (first > last) continue;
    region +=
        QRect(0, rowViewportPosition(first), viewport()->width(), (last - first + 1) * rowHeight_);
  }
  return region;
}

void NameGrid::paintEvent(QPaintEvent* event) {
  const int rows = RowCount();
  const QRect dirty = event->rect();
  const int first = TopRow() + std::max(dirty.top(), 0) / rowHeight_;
  const int last = std::min(rows - 1, TopRow() + std::max(dirty.bottom(), 0) / rowHeight_);
  if (first > last) return;

  QPainter painter(viewport());
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int width = viewport()->width();
  const QModelIndex current = currentIndex();
  const bool focused = hasFocus() || viewport()->hasFocus();
  QAbstractItemDelegate* delegate = itemDelegate();
  // Only the rows in the dirty area are asked for their data, so only they are fetched.
  for (int row = first; row <= last; ++row) {
    const QModelIndex index = model()->index(row, 0);
    QStyleOptionViewItem cell = option;
    cell.rect = QRect(0, rowViewportPosition(row), width - kGridLine, rowHeight_ - kGridLine);
    if (selectionModel()->isSelected(index)) cell.state |= QStyle::State_Selected;
    if (focused && index == current) cell.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, &painter, this);
    delegate->paint(&painter, cell, index);
  }

  const auto gridColor =
      static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this));
  painter.setPen(QColor::fromRgba(gridColor));
  for (int row = first; row <= last; ++row) {
    const int y = rowViewportPosition(row) + rowHeight_ - kGridLine;
    painter.drawLine(dirty.left(), y, dirty.right(), y);
  }
  const int bottom = rowViewportPosition(last) + rowHeight_ - kGridLine;
  painter.drawLine(width - kGridLine, std::max(dirty.top(), 0), width - kGridLine,
                   std::min(dirty.bottom(), bottom));
}

void NameGrid::scrollContentsBy(int, int dy) {
  CancelHint();
  if (dy != 0) viewport()->scroll(0, dy * rowHeight_);
}

QPoint NameGrid::HintPosition() const { return viewport()->mapToGlobal(QPoint(0, hintTop_)); }

bool NameGrid::HintShown() const { return hint_->IsShown(); }

void NameGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QAbstractItemView::currentChanged(current, previous);
  if (current.isValid()) emit currentRowChanged(current.row());
}

void NameGrid::PrepareHint(int y) {
  const int top = rowAt(0);
  const int row = rowAt(y);
  const int slot = row < 0 || top < 0 ? -1 : row - top;
  if (slot >= 0 && slot == hintRow_) return;
  if (slot < 0 || model_->RecordAt(row) < 0) {
    CancelHint();
    hintText_.clear();
    hintRow_ = -1;
    return;
  }
  hintRow_ = slot;
  CancelHint();
  const QString name = model_->NameAt(row);
  hintTop_ = rowViewportPosition(row);
  const bool tooWide = viewport()->width() < fontMetrics().horizontalAdvance(name);
  hintText_ = fullNameHints_ && tooWide ? name : QString();
}

void NameGrid::CancelHint() { hint_->Hide(); }

bool NameGrid::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip:
      if (hintText_.isEmpty()) {
        CancelHint();
      } else {
        // The cells draw their text this far from the left edge; the hint's text starts there.
        hint_->Show(hintText_, QRect(0, hintTop_, viewport()->width(), rowHeight_),
                    style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
      }
      return true;
    case QEvent::Leave:
      // The hint opening under the pointer makes the window system report a leave while the
      // pointer is still over the row: only a leave for real takes the hint away.
      if (hint_->PointerOnRow()) break;
      CancelHint();
      hintRow_ = -1;
      break;
    default:
      break;
  }
  return QAbstractItemView::viewportEvent(event);
}

void NameGrid::mousePressEvent(QMouseEvent* event) {
  CancelHint();
  QAbstractItemView::mousePressEvent(event);
  dragArmed_ = event->button() == Qt::LeftButton;
  pressPos_ = event->position().toPoint();
  pressRow_ = CurrentRow();
}

void NameGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  PrepareHint(pos.y());
  if (!(event->buttons() & Qt::LeftButton)) {
    dragArmed_ = false;
    QAbstractItemView::mouseMoveEvent(event);
    return;
  }
  // With the button held the mouse drags the record; it never sweeps the selection.
  if (dragArmed_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
    dragArmed_ = false;
    StartDrag();
  }
}

void NameGrid::StartDrag() {
  auto* drag = new QDrag(this);
  drag->setMimeData(MakeRecordMime(model_->RecordAt(pressRow_), base_).release());
  drag->exec(Qt::CopyAction);
}

namespace {

bool FromAnotherBase(const QMimeData* mime, const QByteArray& base) {
  return mime->hasFormat(kRecordMimeType) && mime->data(kRecordBaseMimeType) != base;
}

}  // namespace

void NameGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (FromAnotherBase(event->mimeData(), base_)) return event->ignore();
  event->acceptProposedAction();
}

void NameGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (FromAnotherBase(event->mimeData(), base_)) return event->ignore();
  event->acceptProposedAction();
}

void NameGrid::dropEvent(QDropEvent* event) {
  if (FromAnotherBase(event->mimeData(), base_)) return event->ignore();
  event->acceptProposedAction();
  if (const auto record = RecordFromMime(event->mimeData(), base_)) emit recordDropped(*record);
}

void NameGrid::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* nName = menu.addAction(QStringLiteral("Название в буфер"));
  nName->setObjectName(QStringLiteral("nName"));
  connect(nName, &QAction::triggered, this, &NameGrid::copyNameRequested);
  menu.exec(event->globalPos());
}

}  // namespace zorel
