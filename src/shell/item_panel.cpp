#include "shell/item_panel.h"

#include <QLabel>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "components/hints.h"
#include "shell/remark_memo.h"

namespace zorel {

ItemPanel::ItemPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pItem"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  pgCommon_ = new QTabWidget(this);
  pgCommon_->setObjectName(QStringLiteral("pgCommon"));
  pgCommon_->setTabPosition(QTabWidget::South);
  pgCommon_->setDocumentMode(true);
  QFont tabFont = pgCommon_->tabBar()->font();
  tabFont.setPixelSize(11);
  tabFont.setBold(true);
  pgCommon_->tabBar()->setFont(tabFont);
  layout->addWidget(pgCommon_);

  sbItem_ = new QScrollArea;
  sbItem_->setObjectName(QStringLiteral("sbItem"));
  sbItem_->setFrameShape(QFrame::NoFrame);
  sbItem_->setWidgetResizable(true);
  sbItem_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lItem_ = new QLabel;
  lItem_->setObjectName(QStringLiteral("lItem"));
  lItem_->setTextFormat(Qt::PlainText);
  lItem_->setWordWrap(true);
  lItem_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lItem_->setMargin(3);
  lItem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = lItem_->font();
  bold.setBold(true);
  lItem_->setFont(bold);
  ApplyHint(lItem_, QStringLiteral("|Производимая продукция"));
  sbItem_->setWidget(lItem_);
  pgCommon_->addTab(sbItem_, QStringLiteral("Продукция"));

  mRemark_ = new RemarkMemo;
  mRemark_->setObjectName(QStringLiteral("mRemark"));
  mRemark_->SetMaxLength(4096);
  pgCommon_->addTab(mRemark_, QStringLiteral("Примечания"));
  pgCommon_->setCurrentIndex(0);
}

void ItemPanel::SetProducts(const QString& text) { lItem_->setText(text); }

QString ItemPanel::ProductsText() const { return lItem_->text(); }

}  // namespace zorel
