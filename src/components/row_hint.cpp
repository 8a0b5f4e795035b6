#include "components/row_hint.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace zorel {
namespace {

// How often a shown hint checks the pointer when no event of this program tells of it (the
// pointer gone to another program or to the desktop).
constexpr int kWatchMs = 150;

}  // namespace

RowHint::RowHint(QWidget* view, const QString& name)
    : view_(view), label_(new QLabel(view, Qt::ToolTip)) {
  label_->setObjectName(name);
  label_->setWindowFlag(Qt::WindowTransparentForInput);
  label_->setForegroundRole(QPalette::ToolTipText);
  label_->setBackgroundRole(QPalette::ToolTipBase);
  label_->setAutoFillBackground(true);
  label_->setContentsMargins(0, 0, 0, 0);
  label_->setMargin(0);
  watch_.setInterval(kWatchMs);
  connect(&watch_, &QTimer::timeout, this, [this] {
    if (Stale()) Hide();
  });
}

RowHint::~RowHint() { qApp->removeEventFilter(this); }

void RowHint::Show(const QString& text, const QRect& row, int indent) {
  row_ = row;
  label_->setFont(view_->font());
  label_->setIndent(indent);
  label_->setText(text);
  label_->adjustSize();
  label_->resize(label_->width(), std::max(label_->height(), row.height()));
  label_->move(view_->mapToGlobal(row.topLeft()));
  label_->show();
  qApp->installEventFilter(this);
  watch_.start();
}

void RowHint::Hide() {
  watch_.stop();
  qApp->removeEventFilter(this);
  label_->hide();
}

bool RowHint::IsShown() const { return label_->isVisible(); }

QString RowHint::Text() const { return label_->text(); }

QRect RowHint::Geometry() const { return label_->geometry(); }

bool RowHint::PointerOnRow() const {
  return IsShown() && row_.contains(view_->mapFromGlobal(QCursor::pos()));
}

bool RowHint::Stale() const {
  return !view_->isVisible() || !view_->window()->isActiveWindow() || !PointerOnRow() ||
         label_->pos() != view_->mapToGlobal(row_.topLeft());
}

bool RowHint::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Leave:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationStateChange:
      if (watched != label_ && Stale()) Hide();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zorel
