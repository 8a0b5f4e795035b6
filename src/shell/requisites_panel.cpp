#include "shell/requisites_panel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>

#include "components/auto_height_memo.h"
#include "components/hints.h"
#include "data/data_module.h"
#include "data/record_details.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

constexpr int kLeft = 4;
constexpr int kWide = 231;
constexpr int kEditHeight = 20;
constexpr int kGap = 3;

int Bottom(const QWidget* w) { return w->y() + w->height(); }

void PlaceBelow(QWidget* w, const QWidget* above) { w->move(w->x(), Bottom(above) + kGap); }

int ValueRoom(const QLineEdit* edit) {
  const int frame = edit->hasFrame()
                        ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                        : 0;
  const QMargins margins = edit->textMargins();
  // A line edit keeps two pixels free on either side of its text.
  return edit->width() - 2 * frame - margins.left() - margins.right() - 2 * 2;
}

}  // namespace

RequisitesPanel::RequisitesPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pInfo"));
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setFixedWidth(267);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(5, 5, 5, 5);
  sbDetail_ = new QScrollArea(this);
  sbDetail_->setObjectName(QStringLiteral("sbDetail"));
  sbDetail_->setFrameShape(QFrame::NoFrame);
  sbDetail_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sbDetail_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  outer->addWidget(sbDetail_);
  content_ = new QWidget;
  sbDetail_->setWidget(content_);

  Caption(QStringLiteral("Label1"), QStringLiteral("Форма собственности:"))->move(kLeft, 2);
  eOrgForm_ = Edit(QStringLiteral("eOrgForm"), QStringLiteral("|Организационная форма"));
  eOrgForm_->setGeometry(kLeft, 18, kWide, kEditHeight);

  // Year and staff share a row; the staff edit takes what the captions leave of it.
  QLabel* label3 = Caption(QStringLiteral("Label3"), QStringLiteral("Год осн.:"));
  label3->move(kLeft, 45);
  eYear_ = Edit(QStringLiteral("eYear"), QStringLiteral("|Год основания предприятия"));
  eYear_->setGeometry(label3->x() + label3->width() + 2, 43, 38, kEditHeight);
  QLabel* label2 = Caption(QStringLiteral("Label2"), QStringLiteral("Численность:"));
  label2->move(eYear_->x() + eYear_->width() + 4, 45);
  ePeople_ = Edit(QStringLiteral("ePeople"), QStringLiteral("|Численность рабочих на предприятии"));
  const int peopleLeft = label2->x() + label2->width() + 2;
  ePeople_->setGeometry(peopleLeft, 43, kLeft + kWide - peopleLeft, kEditHeight);

  Caption(QStringLiteral("labAddress"), QStringLiteral("Адрес предприятия :"))->move(kLeft, 68);
  sAddress_ = new QFrame(content_);
  sAddress_->setObjectName(QStringLiteral("sAddress"));
  sAddress_->setFrameStyle(QFrame::Box | QFrame::Plain);
  sAddress_->setGeometry(kLeft, 84, kWide + 1, 40);
  eIndex_ = Edit(QStringLiteral("eIndex"), QStringLiteral("|Индекс"), false);
  eIndex_->setGeometry(kLeft + 1, 85, 52, 18);
  eRegion_ = Edit(QStringLiteral("eRegion"), QStringLiteral("|Регион"), false);
  eRegion_->setGeometry(kLeft + 54, 85, kWide - 54, 18);
  mAddress_ = Memo(QStringLiteral("mAddress"));
  mAddress_->setGeometry(kLeft + 1, 104, kWide - 1, mAddress_->height());
  lLetterAddress_ = Caption(QStringLiteral("lLetterAddress"), QString());
  lLetterAddress_->setFont(font());
  lLetterAddress_->setWordWrap(true);
  lLetterAddress_->setFixedSize(kWide, 0);
  ApplyHint(lLetterAddress_, QStringLiteral("|Адрес для писем"));

  lPrinciple_ = Caption(QStringLiteral("lPrinciple"), QStringLiteral("Руководитель :"));
  ePrinciple_ =
      Edit(QStringLiteral("ePrinciple"), QStringLiteral("|Информация о руководителе предприятия"));
  ePrinciple_->setGeometry(kLeft, 0, kWide, kEditHeight);
  lbPhoneFax_ = Caption(QStringLiteral("lbPhoneFax"), QStringLiteral("Факсы и телефоны:"));
  eCode_ = Edit(QStringLiteral("eCode"), QStringLiteral("|Код города"));
  eCode_->setGeometry(kLeft, 0, 53, kEditHeight);
  eFax_ = Edit(QStringLiteral("eFax"), QStringLiteral("|Номера факсов"));
  eFax_->setGeometry(kLeft + kWide - 176, 0, 176, kEditHeight);
  mPhones_ = Memo(QStringLiteral("mPhones"));
  mPhones_->setGeometry(kLeft, 0, kWide, mPhones_->height());
  lEMail_ = Caption(QStringLiteral("lEMail"), QStringLiteral("Электронный адрес :"));

  pMail_ = new QFrame(content_);
  pMail_->setObjectName(QStringLiteral("pMail"));
  pMail_->setFrameStyle(QFrame::Box | QFrame::Plain);
  pMail_->setGeometry(kLeft, 0, kWide, 19);
  lMail_ = new QLabel(pMail_);
  lMail_->setObjectName(QStringLiteral("lMail"));
  lMail_->setGeometry(3, 1, kWide - 6, 17);
  QFont mailFont = lMail_->font();
  mailFont.setPixelSize(12);
  lMail_->setFont(mailFont);
  lMail_->setTextFormat(Qt::PlainText);
  lMail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lMail_->setContextMenuPolicy(Qt::NoContextMenu);
  ApplyHint(pMail_, QStringLiteral("|Электронный адрес предприятия (e-mail)"));
  auto* copyMail = new QAction(QStringLiteral("Эл.адрес в буфер"), pMail_);
  copyMail->setObjectName(QStringLiteral("pmEMailCopy"));
  connect(copyMail, &QAction::triggered, this,
          [this] { QGuiApplication::clipboard()->setText(lMail_->text()); });
  pMail_->addAction(copyMail);
  pMail_->setContextMenuPolicy(Qt::ActionsContextMenu);

  lURL_ = Caption(QStringLiteral("lURL"), QStringLiteral("Адрес в интернет:"));
  eURL_ = Edit(QStringLiteral("eURL"), QStringLiteral("|WWW-адрес предприятия"));
  eURL_->setGeometry(kLeft, 0, kWide, kEditHeight);
  connect(eURL_, &QLineEdit::textChanged, this, &RequisitesPanel::urlTextChanged);
  auto* goToUrl = new QToolButton(content_);
  goToUrl->setObjectName(QStringLiteral("sbGoToURL"));
  goToUrl->setText(QStringLiteral("..."));
  ApplyHint(goToUrl, QStringLiteral("|Открыть WWW-адрес в броузере"));
  goToUrl->hide();
  sbGoToURL_ = goToUrl;

  ArrangeRequisites();
}

QLabel* RequisitesPanel::Caption(const QString& name, const QString& text) {
  auto* label = new QLabel(text, content_);
  label->setObjectName(name);
  QFont f = label->font();
  // The desktop's sans-serif runs wider than the narrow bitmap face the layout was made for.
  f.setPixelSize(11);
  f.setBold(true);
  f.setUnderline(true);
  label->setFont(f);
  label->adjustSize();
  label->move(kLeft, 0);
  return label;
}

QLineEdit* RequisitesPanel::Edit(const QString& name, const QString& statusHint, bool framed) {
  auto* edit = new QLineEdit(content_);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setFrame(framed);
  QFont f = edit->font();
  f.setPixelSize(12);
  edit->setFont(f);
  QPalette p = edit->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  edit->setPalette(p);
  ApplyHint(edit, statusHint);
  return edit;
}

TAutoHeightMemo* RequisitesPanel::Memo(const QString& name) {
  auto* memo = new TAutoHeightMemo(content_);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setTabChangesFocus(true);
  QFont f = memo->font();
  f.setPixelSize(12);
  memo->setFont(f);
  QPalette p = memo->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  memo->setPalette(p);
  memo->SetShowAtOnce(true);
  // Each change of height moves the controls below.
  connect(memo, &QPlainTextEdit::textChanged, this, &RequisitesPanel::ArrangeRequisites);
  return memo;
}

void RequisitesPanel::SetDetails(const RecordDetails& d) {
  ShowValue(eOrgForm_, FromCp(d.orgform));
  ShowValue(eYear_, FromCp(d.year));
  ShowValue(ePeople_, FromCp(d.staff));
  ShowValue(eIndex_, FromCp(d.index));
  ShowValue(eRegion_, FromCp(d.location));
  ShowValue(ePrinciple_, FromCp(d.head));
  mAddress_->setPlainText(CpToMemo(d.address));
  lLetterAddress_->clear();
  ShowValue(eCode_, FromCp(d.code));
  ShowValue(eFax_, FromCp(d.fax));
  mPhones_->setPlainText(CpToMemo(d.phones));
  lMail_->setText(FromCp(d.email));
  ShowValue(eURL_, FromCp(d.url));
  ArrangeRequisites();
}

void RequisitesPanel::ShowValue(QLineEdit* edit, const QString& text) {
  const QString shown = edit->fontMetrics().elidedText(text, Qt::ElideRight, ValueRoom(edit));
  edit->setText(shown);
  edit->setToolTip(shown == text ? QString() : text);
  edit->setCursorPosition(0);
}

void RequisitesPanel::Clear() { SetDetails(RecordDetails{}); }

void RequisitesPanel::ArrangeRequisites() {
  sAddress_->resize(sAddress_->width(),
                    mAddress_->height() + 4 + eIndex_->height() + (sAddress_->y() - eIndex_->y()));
  lLetterAddress_->move(kLeft, Bottom(mAddress_) + kGap);
  lPrinciple_->move(kLeft, lLetterAddress_->y() + kGap);
  ePrinciple_->move(kLeft, Bottom(lPrinciple_) + kGap);
  lbPhoneFax_->move(kLeft, Bottom(ePrinciple_) + kGap);
  PlaceBelow(eCode_, lbPhoneFax_);
  PlaceBelow(eFax_, lbPhoneFax_);
  PlaceBelow(mPhones_, eFax_);
  PlaceBelow(lEMail_, mPhones_);
  PlaceBelow(pMail_, lEMail_);
  PlaceBelow(lURL_, pMail_);
  PlaceBelow(eURL_, lURL_);
  sbGoToURL_->setGeometry(kLeft + kWide + 1, eURL_->y() + 1, 18, kEditHeight - 2);
  content_->resize(kLeft + kWide + 4, Bottom(eURL_) + 6);
}

}  // namespace zorel
