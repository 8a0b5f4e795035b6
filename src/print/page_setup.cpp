#include "print/page_setup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace zorel {
namespace {

struct PaperItem {
  const char* text;
  PaperSize paper;
  int width, height;  // millimetres
};

constexpr PaperItem kPapers[kPaperCount] = {
    {"  Letter  (216 * 279)", PaperSize::Letter, 216, 279},
    {"  A3      (297 * 420)", PaperSize::A3, 297, 420},
    {"  A4      (210 * 297)", PaperSize::A4, 210, 297},
    {"  A5      (148 * 210)", PaperSize::A5, 148, 210},
    {"  B4      (250 * 354)", PaperSize::B4, 250, 354},
    {"  B5      (182 * 257)", PaperSize::B5, 182, 257},
    {"  Tabloid (280 * 432)", PaperSize::Tabloid, 280, 432},
    {"  Ledger  (432 * 280)", PaperSize::Ledger, 432, 280},
    {"  Legal   (216 * 356)", PaperSize::Legal, 216, 356},
    {"  Statemen (140 * 216)", PaperSize::Statement, 140, 216},
    {"  Executive (190 * 254)", PaperSize::Executive, 190, 254},
    {"  Folio   (216 * 330)", PaperSize::Folio, 216, 330},
    {"  Quarto  (215 * 275)", PaperSize::Quarto, 215, 275},
    {"  10X14   (254 * 356)", PaperSize::P10X14, 254, 356},
    {"  11X17   (280 * 432)", PaperSize::P11X17, 280, 432},
    {"  Note    (216 * 279)", PaperSize::Note, 216, 279},
    {"  Envelope #9  (99 * 225)", PaperSize::Env9, 99, 225},
    {"  Envelope #10 (105 * 241)", PaperSize::Env10, 105, 241},
    {"  Envelope #11 (114 * 263)", PaperSize::Env11, 114, 263},
    {"  Envelope #12 (101 * 279)", PaperSize::Env12, 101, 279},
    {"  Envelope #14 (127 * 292)", PaperSize::Env14, 127, 292},
    {"  CSheet  (100 * 100)", PaperSize::CSheet, 100, 100},
};

int WholeMm(double mm) { return static_cast<int>(std::nearbyint(mm)); }

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high, int start,
               const QString& hint) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(QString::fromLatin1(name));
  s->setRange(low, high);
  s->setValue(start);
  s->setToolTip(hint);
  return s;
}

}  // namespace

PaperSize PaperAt(int position) { return kPapers[position].paper; }

int PaperPosition(PaperSize paper) {
  for (int i = 0; i < kPaperCount; ++i) {
    if (kPapers[i].paper == paper) return i;
  }
  return -1;
}

TfrmPageSetup::TfrmPageSetup(QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      printer_(printer),
      cbPaper_(new QComboBox(this)),
      cbPaperOrientation_(new QComboBox(this)),
      eWidth_(new QLineEdit(QStringLiteral("0"), this)),
      eHeight_(new QLineEdit(QStringLiteral("0"), this)) {
  setObjectName(QStringLiteral("TfrmPageSetup"));
  setWindowTitle(QStringLiteral("Параметры страницы отчета"));
  cbPaper_->setObjectName(QStringLiteral("cbPaper"));
  cbPaper_->setToolTip(QStringLiteral("Размер бумаги"));
  cbPaper_->setMaxVisibleItems(25);
  for (const PaperItem& p : kPapers) cbPaper_->addItem(QString::fromLatin1(p.text));
  cbPaperOrientation_->setObjectName(QStringLiteral("cbPaperOrientation"));
  cbPaperOrientation_->addItems({QStringLiteral("Книжная"), QStringLiteral("Альбомная")});
  eWidth_->setObjectName(QStringLiteral("eWidth"));
  eWidth_->setToolTip(QStringLiteral("Ширина страницы в ММ"));
  eHeight_->setObjectName(QStringLiteral("eHeight"));
  eHeight_->setToolTip(QStringLiteral("Высота страницы в ММ"));
  eWidth_->setEnabled(false);
  eHeight_->setEnabled(false);
  margins_[0] = Spin(this, "seTopMargin", 0, 99, 10, QStringLiteral("Верхний отступ в отчете"));
  margins_[1] = Spin(this, "seBottomMargin", 0, 99, 10, QString());
  margins_[2] = Spin(this, "seLeftMargin", 0, 99, 10, QStringLiteral("Левый отступ в отчете"));
  margins_[3] = Spin(this, "seRightMargin", 0, 99, 10, QStringLiteral("Правый отступ в отчете"));
  seColumns_ = Spin(this, "seColumns", 1, 20, 1, QStringLiteral("Количество колонок в отчете"));
  seColumnSpace_ =
      Spin(this, "seColumnSpace", 0, 99, 10, QStringLiteral("Растояние между колонками"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Бумага"), cbPaper_);
  form->addRow(QStringLiteral("Ориентация"), cbPaperOrientation_);
  form->addRow(QStringLiteral("Ширина"), eWidth_);
  form->addRow(QStringLiteral("Высота"), eHeight_);
  form->addRow(QStringLiteral("Отступ сверху"), margins_[0]);
  form->addRow(QStringLiteral("Отступ снизу"), margins_[1]);
  form->addRow(QStringLiteral("Отступ слева"), margins_[2]);
  form->addRow(QStringLiteral("Отступ справа"), margins_[3]);
  form->addRow(QStringLiteral("Колонок"), seColumns_);
  form->addRow(QStringLiteral("Расстояние между колонками"), seColumnSpace_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  cbPaper_->setCurrentIndex(-1);
  cbPaperOrientation_->setCurrentIndex(0);
  connect(cbPaper_, &QComboBox::currentIndexChanged, this, &TfrmPageSetup::PaperChanged);
  connect(cbPaperOrientation_, &QComboBox::currentIndexChanged, this, &TfrmPageSetup::PaperChanged);
  PaperChanged();
}

void TfrmPageSetup::PaperChanged() {
  const int p = cbPaper_->currentIndex();
  if (loading_ || p < 0) return;
  const bool landscape = cbPaperOrientation_->currentIndex() == 1;
  eWidth_->setText(QString::number(landscape ? kPapers[p].height : kPapers[p].width));
  eHeight_->setText(QString::number(landscape ? kPapers[p].width : kPapers[p].height));
}

QString TfrmPageSetup::WidthText() const { return eWidth_->text(); }
QString TfrmPageSetup::HeightText() const { return eHeight_->text(); }

void TfrmPageSetup::MarkSupportedPapers() {
  const QPageLayout before = printer_.pageLayout();
  for (int i = 0; i < kPaperCount; ++i) {
    const QPageSize size(QSizeF(kPapers[i].width, kPapers[i].height), QPageSize::Millimeter);
    printer_.setPageSize(size);
    const bool held = printer_.pageLayout().pageSize().isEquivalentTo(size);
    cbPaper_->setItemText(
        i, (held ? QStringLiteral("* ") : QStringLiteral("  ")) + cbPaper_->itemText(i).mid(2, 30));
  }
  printer_.setPageLayout(before);
  // Letter stands for a paper the list lacks; the fields keep showing the page's own size.
  if (cbPaper_->currentIndex() < 0) {
    loading_ = true;
    cbPaper_->setCurrentIndex(0);
    loading_ = false;
  }
}

void TfrmPageSetup::showEvent(QShowEvent* event) {
  MarkSupportedPapers();
  QDialog::showEvent(event);
}

void TfrmPageSetup::LoadFromPage(const TRepPage& page) {
  margins_[0]->setValue(WholeMm(page.TopMargin()));
  margins_[1]->setValue(WholeMm(page.BottomMargin()));
  margins_[2]->setValue(WholeMm(page.LeftMargin()));
  margins_[3]->setValue(WholeMm(page.RightMargin()));
  seColumnSpace_->setValue(WholeMm(page.ColumnSpace()));
  seColumns_->setValue(page.Columns());
  eWidth_->setText(QString::number(WholeMm(page.Width())));
  eHeight_->setText(QString::number(WholeMm(page.Length())));
  loading_ = true;
  cbPaper_->setCurrentIndex(PaperPosition(page.Paper()));
  cbPaperOrientation_->setCurrentIndex(page.PageOrientation() == Orientation::Landscape ? 1 : 0);
  loading_ = false;
}

void TfrmPageSetup::StoreToPage(TRepPage& page) const {
  page.SetLeftMargin(margins_[2]->value());
  page.SetTopMargin(margins_[0]->value());
  page.SetBottomMargin(margins_[1]->value());
  page.SetRightMargin(margins_[3]->value());
  page.SetColumnSpace(seColumnSpace_->value());
  page.SetColumns(seColumns_->value());
  const int p = cbPaper_->currentIndex();
  page.SetPaperSize(p < 0 ? PaperSize::Letter : kPapers[p].paper);
  page.SetOrientation(cbPaperOrientation_->currentIndex() == 1 ? Orientation::Landscape
                                                               : Orientation::Portrait);
}

}  // namespace zorel
