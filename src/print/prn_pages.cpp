#include "print/prn_pages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace zorel {
namespace {

constexpr int kStartTo = 999999;

}  // namespace

TfrmPrnPages::TfrmPrnPages(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      cbAllPages_(new QCheckBox(QStringLiteral("Все записи"), this)),
      pPages_(new QWidget(this)),
      seFrom_(new QSpinBox(pPages_)),
      seTo_(new QSpinBox(pPages_)) {
  setObjectName(QStringLiteral("TfrmPrnPages"));
  setWindowTitle(QStringLiteral("Печать ..."));
  cbAllPages_->setObjectName(QStringLiteral("cbAllPages"));
  QFont underlined = cbAllPages_->font();
  underlined.setUnderline(true);
  underlined.setPixelSize(15);
  cbAllPages_->setFont(underlined);
  cbAllPages_->setChecked(true);
  pPages_->setObjectName(QStringLiteral("pPages"));
  seFrom_->setObjectName(QStringLiteral("seFrom"));
  seTo_->setObjectName(QStringLiteral("seTo"));
  seFrom_->setRange(1, kStartTo);
  seTo_->setRange(1, kStartTo);
  seFrom_->setValue(1);
  seTo_->setValue(kStartTo);
  auto* row = new QHBoxLayout(pPages_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(new QLabel(QStringLiteral("Номера записей с "), pPages_));
  row->addWidget(seFrom_);
  row->addWidget(new QLabel(QStringLiteral("по"), pPages_));
  row->addWidget(seTo_);
  pPages_->setVisible(false);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* start = buttons->addButton(QStringLiteral("Начать"), QDialogButtonBox::AcceptRole);
  start->setDefault(true);
  buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cbAllPages_);
  layout->addWidget(pPages_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cbAllPages_, &QCheckBox::toggled, this, [this](bool all) { pPages_->setVisible(!all); });
  connect(seFrom_, &QSpinBox::editingFinished, this, [this] {
    if (seFrom_->value() > seTo_->value()) seTo_->setValue(seFrom_->value());
  });
  connect(seTo_, &QSpinBox::editingFinished, this, [this] {
    if (seFrom_->value() > seTo_->value()) seFrom_->setValue(seTo_->value());
  });
}

void TfrmPrnPages::SetRangeLimit(int count) {
  const int limit = std::max(count, 1);
  seFrom_->setMaximum(limit);  // a larger value is cut to the limit
  seTo_->setMaximum(limit);
}

bool TfrmPrnPages::AllRecords() const { return cbAllPages_->isChecked(); }
void TfrmPrnPages::SetAllRecords(bool all) { cbAllPages_->setChecked(all); }
int TfrmPrnPages::RangeFrom() const { return seFrom_->value(); }
int TfrmPrnPages::RangeTo() const { return seTo_->value(); }

}  // namespace zorel
