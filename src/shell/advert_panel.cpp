#include "shell/advert_panel.h"

#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <algorithm>

#include "components/hints.h"

namespace zorel {

const char* const kPublisherContact =
    "Издательство «Северный Вектор»\n"
    "тел. (0152) 70-11-42\n"
    "info@severny-vektor.example\n"
    "www.severny-vektor.example";

namespace {

void PaintAqua(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, QColor(0, 255, 255));
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

}  // namespace

AdvertPanel::AdvertPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pReklama"));
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  PaintAqua(this);

  lReklamaOwner_ = new QLabel(QString::fromUtf8(kPublisherContact), this);
  lReklamaOwner_->setObjectName(QStringLiteral("lReklamaOwner"));
  lReklamaOwner_->setAlignment(Qt::AlignCenter);
  lReklamaOwner_->setTextFormat(Qt::PlainText);
  lReklamaOwner_->setWordWrap(true);
  PaintAqua(lReklamaOwner_);

  sbReklama_ = new QScrollArea(this);
  sbReklama_->setObjectName(QStringLiteral("sbReklama"));
  sbReklama_->setFrameShape(QFrame::NoFrame);
  sbReklama_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sbReklama_->setWidgetResizable(false);
  sbReklama_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  PaintAqua(sbReklama_);
  PaintAqua(sbReklama_->viewport());
  lReklama_ = new QLabel;
  lReklama_->setObjectName(QStringLiteral("lReklama"));
  lReklama_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lReklama_->setTextFormat(Qt::PlainText);
  lReklama_->setWordWrap(true);
  lReklama_->setMargin(4);
  PaintAqua(lReklama_);
  ApplyHint(lReklama_, QStringLiteral("|Реклама предприятия"));
  sbReklama_->setWidget(lReklama_);
  sbReklama_->hide();
}

void AdvertPanel::SetAdvert(const QString& text) {
  lReklama_->setText(text);
  FitText();
  sbReklama_->setVisible(!text.isEmpty());
}

void AdvertPanel::FitText() {
  // The text wraps at the scroll box's width less room for its scroll bar, and is as high as
  // that makes it, so the box scrolls through all of it.
  const int width = std::max(sbReklama_->width() - 20, 20);
  lReklama_->resize(width, lReklama_->heightForWidth(width));
}

QString AdvertPanel::AdvertText() const { return lReklama_->text(); }

bool AdvertPanel::AdvertShown() const { return !sbReklama_->isHidden(); }

void AdvertPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const QRect inner = contentsRect();
  lReklamaOwner_->setGeometry(inner);
  sbReklama_->setGeometry(inner);
  FitText();
}

}  // namespace zorel
