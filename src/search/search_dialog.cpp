// The common buttons and results of the search dialogs.
#include "search/search_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

namespace zorel {

namespace {

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  // Enter in an edit box must not start a search or cancel the dialog.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void SetHint(QWidget* widget, const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  widget->setToolTip(bar < 0 ? hint : hint.left(bar));
  widget->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

TSearchDialog::TSearchDialog(Tdm& dm, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      buttonRow_(new QHBoxLayout),
      bbSearchInList_(MakeButton(QStringLiteral("Поиск в списке"), "bbSearchInList", this)),
      bbSearchInBD_(MakeButton(QStringLiteral("Поиск в базе"), "bbSearchInBD", this)),
      bbCancel_(MakeButton(QStringLiteral("Отмена"), "bbCancel", this)) {
  setModal(true);
  buttonRow_->addStretch(1);
  buttonRow_->addWidget(bbSearchInList_);
  buttonRow_->addWidget(bbSearchInBD_);
  buttonRow_->addWidget(bbCancel_);
  SetSearchButtonsVisible(false);
  connect(bbSearchInList_, &QPushButton::clicked, this, &TSearchDialog::bbSearchInListClick);
  connect(bbSearchInBD_, &QPushButton::clicked, this, &TSearchDialog::bbSearchInBDClick);
  connect(bbCancel_, &QPushButton::clicked, this, &TSearchDialog::bbCancelClick);
}

QToolButton* TSearchDialog::FlatButton(const QString& text, const char* name, const QString& hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(QLatin1String(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setEnabled(false);
  SetHint(button, hint);
  return button;
}

void TSearchDialog::SetSearchInListEnabled(bool enabled) { bbSearchInList_->setEnabled(enabled); }

void TSearchDialog::SetSearchButtonsVisible(bool visible) {
  bbSearchInList_->setVisible(visible);
  bbSearchInBD_->setVisible(visible);
}

void TSearchDialog::bbSearchInListClick() {
  PrepareSearch();
  done(kSearchInList);
}

void TSearchDialog::bbSearchInBDClick() {
  PrepareSearch();
  done(kSearchInBase);
}

void TSearchDialog::bbCancelClick() { done(kSearchCancel); }

void TSearchDialog::reject() { done(kSearchCancel); }

}  // namespace zorel
