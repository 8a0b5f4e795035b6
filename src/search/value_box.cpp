// The value box of the requisites dialog.
#include "search/value_box.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStackedLayout>

namespace zorel {

ValueBox::ValueBox(QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedLayout(this)),
      edit_(new QLineEdit(this)),
      combo_(new QComboBox(this)) {
  edit_->setObjectName(QStringLiteral("eValue"));
  combo_->setObjectName(QStringLiteral("cbValueList"));
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setMaxVisibleItems(20);
  // Dictionary values may be typed freely: entries holding the typed text are offered in a
  // pop-up list to pick from, never written into the box over what was typed.
  combo_->completer()->setCompletionMode(QCompleter::PopupCompletion);
  combo_->completer()->setFilterMode(Qt::MatchContains);
  combo_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(edit_);
  stack_->addWidget(combo_);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!HasDropDown()) emit TextChanged(text);
  });
  connect(combo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (HasDropDown()) emit TextChanged(text);
  });
}

QString ValueBox::Text() const { return HasDropDown() ? combo_->currentText() : edit_->text(); }

void ValueBox::SetText(const QString& text) {
  if (HasDropDown()) {
    combo_->setEditText(text);
  } else {
    edit_->setText(text);
  }
}

void ValueBox::ShowChoices(const QStringList& choices) {
  const QString before = Text();
  combo_->clear();
  combo_->addItems(choices);
  combo_->setCurrentIndex(-1);
  combo_->clearEditText();
  stack_->setCurrentWidget(combo_);
  setFocusProxy(combo_);
  if (!before.isEmpty()) emit TextChanged(QString());
}

void ValueBox::ShowPlain() {
  if (!HasDropDown()) return;
  const QString text = combo_->currentText();
  stack_->setCurrentWidget(edit_);
  setFocusProxy(edit_);
  // Emitted by the edit box itself only when its text differs.
  edit_->setText(text);
}

bool ValueBox::HasDropDown() const { return stack_->currentWidget() == combo_; }

QStringList ValueBox::Choices() const {
  QStringList choices;
  for (int i = 0; i < combo_->count(); ++i) choices << combo_->itemText(i);
  return choices;
}

void ValueBox::FocusEditor() {
  if (HasDropDown()) {
    combo_->setFocus();
  } else {
    edit_->setFocus();
  }
}

void ValueBox::PassClicksTo(QAbstractButton* button) {
  passTo_ = button;
  // The lists are pop-up windows: a press anywhere while one is open goes to it.
  QAbstractItemView* suggestions = combo_->completer()->popup();
  suggestions->setAttribute(Qt::WA_NoMouseReplay);
  suggestions->installEventFilter(this);
  QWidget* dropDown = combo_->view()->parentWidget();
  dropDown->setAttribute(Qt::WA_NoMouseReplay);
  dropDown->installEventFilter(this);
}

bool ValueBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress || passTo_ == nullptr) {
    return QWidget::eventFilter(watched, event);
  }
  auto* list = static_cast<QWidget*>(watched);
  const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
  const bool onButton =
      passTo_->isVisible() && passTo_->rect().contains(passTo_->mapFromGlobal(at));
  if (list->rect().contains(list->mapFromGlobal(at)) || !onButton) {
    return QWidget::eventFilter(watched, event);
  }
  if (list == combo_->view()->parentWidget()) {
    combo_->hidePopup();
  } else {
    list->hide();
  }
  if (passTo_->isEnabled()) passTo_->click();
  return true;
}

}  // namespace zorel
