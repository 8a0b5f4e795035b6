#include "shell/export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "data/field_table.h"

namespace zorel {

ExportDialog::ExportDialog(QWidget* parent)
    : QDialog(parent),
      format_(new QComboBox(this)),
      encoding_(new QComboBox(this)),
      separator_(new QComboBox(this)),
      fields_(new QListWidget(this)) {
  setObjectName(QStringLiteral("ExportDialog"));
  setWindowTitle(QStringLiteral("Экспорт списка"));
  format_->setObjectName(QStringLiteral("cbFormat"));
  format_->addItems({QStringLiteral("Книга Excel (XLSX)"), QStringLiteral("Текст CSV")});
  encoding_->setObjectName(QStringLiteral("cbEncoding"));
  encoding_->addItems({QStringLiteral("UTF-8"), QStringLiteral("Windows-1251")});
  separator_->setObjectName(QStringLiteral("cbSeparator"));
  separator_->addItems({QStringLiteral("точка с запятой ( ; )"), QStringLiteral("запятая ( , )")});
  fields_->setObjectName(QStringLiteral("lbFields"));
  fields_->setDragDropMode(QAbstractItemView::InternalMove);
  const std::vector<int> chosen = DefaultExportFields();
  for (int field = 0; field < kFieldCount; ++field) {
    auto* item = new QListWidgetItem(QString::fromUtf8(PrintFieldCaption(field).data()), fields_);
    item->setData(Qt::UserRole, field);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool on = std::find(chosen.begin(), chosen.end(), field) != chosen.end();
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Формат:"), format_);
  form->addRow(QStringLiteral("Кодировка:"), encoding_);
  form->addRow(QStringLiteral("Разделитель:"), separator_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(QStringLiteral("Экспорт ..."));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Поля (порядок меняется перетаскиванием):"), this));
  layout->addWidget(fields_);
  layout->addWidget(buttons);

  connect(format_, &QComboBox::currentIndexChanged, this, &ExportDialog::UpdateControls);
  connect(fields_, &QListWidget::itemChanged, this, &ExportDialog::UpdateControls);
  UpdateControls();
}

void ExportDialog::UpdateControls() {
  const bool csv = format_->currentIndex() == 1;
  encoding_->setEnabled(csv);
  separator_->setEnabled(csv);
  ok_->setEnabled(!Options().fields.empty());
}

ExportOptions ExportDialog::Options() const {
  ExportOptions options;
  options.format = format_->currentIndex() == 1 ? ExportFormat::Csv : ExportFormat::Xlsx;
  options.encoding = encoding_->currentIndex() == 1 ? CsvEncoding::Cp1251 : CsvEncoding::Utf8Bom;
  options.separator = separator_->currentIndex() == 1 ? ',' : ';';
  options.fields.clear();
  for (int row = 0; row < fields_->count(); ++row) {
    const QListWidgetItem* item = fields_->item(row);
    if (item->checkState() == Qt::Checked)
      options.fields.push_back(item->data(Qt::UserRole).toInt());
  }
  return options;
}

}  // namespace zorel
