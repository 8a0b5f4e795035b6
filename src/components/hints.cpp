#include "components/hints.h"

#include <QAction>
#include <QWidget>

namespace zorel {

Hint SplitHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QChar('|'));
  if (bar < 0) return {hint, hint};
  return {hint.left(bar), hint.mid(bar + 1)};
}

void ApplyHint(QAction* action, const QString& hint) {
  const Hint h = SplitHint(hint);
  action->setToolTip(h.toolTip);
  action->setStatusTip(h.statusTip);
}

void ApplyHint(QWidget* widget, const QString& hint) {
  const Hint h = SplitHint(hint);
  widget->setToolTip(h.toolTip);
  widget->setStatusTip(h.statusTip);
}

}  // namespace zorel
