#include "shell/tool_panel.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QStatusTipEvent>
#include <QToolButton>

#include "components/gradient_fill.h"
#include "components/hints.h"
#include "shell/tool_icons.h"

namespace zorel {

ToolPanel::ToolPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pToolBar"));
  setFixedHeight(32);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  fill_ = new TGradientFill(this);
  fill_->setObjectName(QStringLiteral("GradientFill1"));
  fill_->SetBeginColor(QColor(192, 192, 192));
  fill_->SetEndColor(QColor(128, 128, 128));
  fill_->SetFillDirection(TGradientFill::fdLeftToRight);
  fill_->SetNumberOfColors(100);

  auto button = [this](const char* name, int left, ToolIconKind icon, const QString& hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setGeometry(left, 4, 25, 25);
    b->setIconSize(QSize(20, 20));
    b->setIcon(ToolIcon(icon));
    ApplyHint(b, hint);
    b->installEventFilter(this);
    return b;
  };
  NewBtn = button("NewBtn", 6, ToolIconKind::New, QStringLiteral("Новое окно со всей базой|"));
  OpenBtn = button("OpenBtn", 31, ToolIconKind::Open, QStringLiteral("Открыть|"));
  SaveBtn = button("SaveBtn", 56, ToolIconKind::Save, QStringLiteral("Сохранить|"));
  EditBtn = button("EditBtn", 88, ToolIconKind::FormEditor, QStringLiteral("Редактор форм|"));
  CutBtn = button("CutBtn", 120, ToolIconKind::Delete, QStringLiteral("Удалить|"));
  CopyBtn = button("CopyBtn", 145, ToolIconKind::Copy, QStringLiteral("Копировать|"));
  PasteBtn = button("PasteBtn", 170, ToolIconKind::Paste, QStringLiteral("Вставить|"));
  Search1Btn = button("Search1Btn", 200, ToolIconKind::SearchRequisites,
                      QStringLiteral("Поиск по реквизитам|"));
  SearchProductsBtn = button("SpeedButton1", 225, ToolIconKind::SearchProducts,
                             QStringLiteral("Поиск по продукции|"));
  SearchBranchesBtn = button("SpeedButton3", 250, ToolIconKind::SearchBranches,
                             QStringLiteral("Поиск по отраслям|"));
  ExitBtn = button("ExitBtn", 284, ToolIconKind::Exit, QStringLiteral("Выход|"));
  for (QToolButton* b : {SaveBtn, CutBtn, CopyBtn, PasteBtn}) b->setEnabled(false);
}

bool ToolPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) {
    QStatusTipEvent tip(static_cast<QWidget*>(watched)->statusTip());
    QCoreApplication::sendEvent(this, &tip);
  }
  return QFrame::eventFilter(watched, event);
}

void ToolPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  fill_->setGeometry(contentsRect());
}

}  // namespace zorel
