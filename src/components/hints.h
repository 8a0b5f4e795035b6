// Hints written as "tool tip|status text": the part before '|' is the tool tip, the part after
// it the status text; a hint without '|' is both.
#pragma once

#include <QString>

class QAction;
class QWidget;

namespace zorel {

struct Hint {
  QString toolTip;
  QString statusTip;
};

Hint SplitHint(const QString& hint);
void ApplyHint(QAction* action, const QString& hint);
void ApplyHint(QWidget* widget, const QString& hint);

}  // namespace zorel
