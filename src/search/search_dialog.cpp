// The common buttons and results of the search dialogs.
#include "search/search_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

#include "components/hints.h"

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

SearchDialog::SearchDialog(Tdm& dm, QWidget* parent)
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
  connect(bbSearchInList_, &QPushButton::clicked, this, &SearchDialog::bbSearchInListClick);
  connect(bbSearchInBD_, &QPushButton::clicked, this, &SearchDialog::bbSearchInBDClick);
  connect(bbCancel_, &QPushButton::clicked, this, &SearchDialog::bbCancelClick);
}

QToolButton* SearchDialog::FlatButton(const QString& text, const char* name, const QString& hint) {
  auto* button = new QToolButton(this);
  button->setObjectName(QLatin1String(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setEnabled(false);
  ApplyHint(button, hint);
  return button;
}

void SearchDialog::SetSearchInListEnabled(bool enabled) { bbSearchInList_->setEnabled(enabled); }

void SearchDialog::SetSearchButtonsVisible(bool visible) {
  bbSearchInList_->setVisible(visible);
  bbSearchInBD_->setVisible(visible);
}

void SearchDialog::bbSearchInListClick() {
  PrepareSearch();
  done(kSearchInList);
}

void SearchDialog::bbSearchInBDClick() {
  PrepareSearch();
  done(kSearchInBase);
}

void SearchDialog::bbCancelClick() { done(kSearchCancel); }

void SearchDialog::reject() { done(kSearchCancel); }

}  // namespace zorel
