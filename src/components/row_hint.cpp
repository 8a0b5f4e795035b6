#include "components/row_hint.h"

#include <QCursor>
#include <QLabel>
#include <algorithm>

namespace zorel {

RowHint::RowHint(QWidget* view, const QString& name)
    : view_(view), label_(new QLabel(view, Qt::ToolTip)) {
  label_->setObjectName(name);
  label_->setWindowFlag(Qt::WindowTransparentForInput);
  label_->setForegroundRole(QPalette::ToolTipText);
  label_->setBackgroundRole(QPalette::ToolTipBase);
  label_->setAutoFillBackground(true);
  label_->setContentsMargins(0, 0, 0, 0);
  label_->setMargin(0);
}

void RowHint::Show(const QString& text, const QRect& row, int indent) {
  row_ = row;
  label_->setFont(view_->font());
  label_->setIndent(indent);
  label_->setText(text);
  label_->adjustSize();
  label_->resize(label_->width(), std::max(label_->height(), row.height()));
  label_->move(view_->mapToGlobal(row.topLeft()));
  label_->show();
}

void RowHint::Hide() { label_->hide(); }

bool RowHint::IsShown() const { return label_->isVisible(); }

QString RowHint::Text() const { return label_->text(); }

QRect RowHint::Geometry() const { return label_->geometry(); }

bool RowHint::PointerOnRow() const {
  return IsShown() && row_.contains(view_->mapFromGlobal(QCursor::pos()));
}

}  // namespace zorel
