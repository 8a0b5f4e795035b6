#include "shell/name_grid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "shell/record_drag.h"
#include "shell/record_grid_model.h"

namespace zorel {
namespace {

// Advertisers in blue, yellow when selected; everything else black, white when selected.
class TNameDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool advert = index.data(TRecordGridModel::HasAdvertRole).toBool();
    option->palette.setColor(QPalette::Text, advert ? Qt::blue : Qt::black);
    option->palette.setColor(QPalette::HighlightedText, advert ? Qt::yellow : Qt::white);
    option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
  }
};

}  // namespace

TNameGrid::TNameGrid(TRecordGridModel* model, QWidget* parent)
    : QTableView(parent), model_(model), hintLabel_(new QLabel(this, Qt::ToolTip)) {
  setObjectName(QStringLiteral("dgInfo"));
  setModel(model);
  setItemDelegate(new TNameDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setWordWrap(false);
  setShowGrid(true);
  horizontalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
  verticalHeader()->hide();
  QFont f = font();
  f.setPixelSize(13);
  setFont(f);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 4);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  setPalette(p);
  viewport()->setMouseTracking(true);
  viewport()->setAcceptDrops(true);
  setAcceptDrops(true);

  // The hint covers the row's own text exactly and lets the mouse through to the grid.
  hintLabel_->setWindowFlag(Qt::WindowTransparentForInput);
  hintLabel_->setFont(f);
  hintLabel_->setForegroundRole(QPalette::ToolTipText);
  hintLabel_->setBackgroundRole(QPalette::ToolTipBase);
  hintLabel_->setAutoFillBackground(true);
  hintLabel_->setContentsMargins(0, 0, 0, 0);
  hintLabel_->setMargin(0);
  // The cells draw their text this far from the left edge; the hint's text starts there too.
  hintLabel_->setIndent(style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
}

int TNameGrid::CurrentRow() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? index.row() : 0;
}

void TNameGrid::SetCurrentRow(int row) {
  const int last = model()->rowCount() - 1;
  setCurrentIndex(model()->index(std::clamp(row, 0, std::max(last, 0)), 0));
}

QPoint TNameGrid::HintPosition() const { return viewport()->mapToGlobal(QPoint(0, hintTop_)); }

bool TNameGrid::HintShown() const { return hintLabel_->isVisible(); }

void TNameGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) emit currentRowChanged(current.row());
}

QModelIndex TNameGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if (action == MoveHome) return model()->index(0, 0);
  if (action == MoveEnd) return model()->index(model()->rowCount() - 1, 0);
  return QTableView::moveCursor(action, modifiers);
}

void TNameGrid::PrepareHint(int y) {
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

void TNameGrid::CancelHint() { hintLabel_->hide(); }

bool TNameGrid::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip:
      if (hintText_.isEmpty()) {
        CancelHint();
      } else {
        hintLabel_->setText(hintText_);
        hintLabel_->adjustSize();
        hintLabel_->move(HintPosition());
        hintLabel_->show();
      }
      return true;
    case QEvent::Leave:
      CancelHint();
      hintRow_ = -1;
      break;
    default:
      break;
  }
  return QTableView::viewportEvent(event);
}

void TNameGrid::scrollContentsBy(int dx, int dy) {
  CancelHint();
  QTableView::scrollContentsBy(dx, dy);
}

void TNameGrid::mousePressEvent(QMouseEvent* event) {
  CancelHint();
  QTableView::mousePressEvent(event);
  dragArmed_ = event->button() == Qt::LeftButton;
  pressPos_ = event->position().toPoint();
  pressRow_ = CurrentRow();
}

void TNameGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  PrepareHint(pos.y());
  if (!(event->buttons() & Qt::LeftButton)) {
    dragArmed_ = false;
    QTableView::mouseMoveEvent(event);
    return;
  }
  // With the button held the mouse drags the record; it never sweeps the selection.
  if (dragArmed_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
    dragArmed_ = false;
    StartDrag();
  }
}

void TNameGrid::StartDrag() {
  auto* drag = new QDrag(this);
  drag->setMimeData(MakeRecordMime(model_->RecordAt(pressRow_)).release());
  drag->exec(Qt::CopyAction);
}

void TNameGrid::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }

void TNameGrid::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void TNameGrid::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  if (const auto record = RecordFromMime(event->mimeData())) emit recordDropped(*record);
}

void TNameGrid::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* nName = menu.addAction(QStringLiteral("Название в буфер"));
  nName->setObjectName(QStringLiteral("nName"));
  connect(nName, &QAction::triggered, this, &TNameGrid::copyNameRequested);
  menu.exec(event->globalPos());
}

}  // namespace zorel
