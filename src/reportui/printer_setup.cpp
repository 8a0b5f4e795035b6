#include "reportui/printer_setup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "components/user_prompts.h"
#include "report/shared_printer.h"

namespace zorel {

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer), printers_(new QComboBox(this)), note_(new QLabel(this)) {
  setObjectName(QStringLiteral("PrinterSetup"));
  setWindowTitle(QStringLiteral("Установки принтера"));
  printers_->setObjectName(QStringLiteral("cbPrinter"));
  note_->setObjectName(QStringLiteral("lNote"));
  note_->setWordWrap(true);
  const QStringList names = QPrinterInfo::availablePrinterNames();
  printers_->addItems(names);
  const QString current =
      printer.printerName().isEmpty() ? QPrinterInfo::defaultPrinterName() : printer.printerName();
  printers_->setCurrentIndex(std::max(0, static_cast<int>(names.indexOf(current))));

  auto* buttons = new QDialogButtonBox(this);
  auto* layout = new QVBoxLayout(this);
  if (names.isEmpty()) {
    note_->setText(QStringLiteral(
        "Не установлен ни один принтер.\n\nУстановите принтер в системе. До тех пор отчеты можно "
        "сохранять в файл кнопкой \"Сохранить в PDF ...\" окна просмотра."));
    printers_->hide();
    buttons->setStandardButtons(QDialogButtonBox::Close);
    layout->addWidget(note_);
  } else {
    note_->hide();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Принтер:"), printers_);
    layout->addLayout(form);
    buttons->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* paper = buttons->addButton(QStringLiteral("Бумага ..."), QDialogButtonBox::ActionRole);
    paper->setObjectName(QStringLiteral("bPaper"));
    connect(paper, &QPushButton::clicked, this, [this] {
      printer_.setPrinterName(printers_->currentText());
      QPageSetupDialog(&printer_, this).exec();
    });
  }
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PrinterSetupDialog::accept() {
  if (printers_->count() > 0) printer_.setPrinterName(printers_->currentText());
  QDialog::accept();
}

void SetUpSharedPrinter(UserPrompts& prompts, QWidget* parent) {
  PrinterSetupDialog dialog(SharedPrinter(), parent);
  prompts.runModal(dialog);
}

}  // namespace zorel
