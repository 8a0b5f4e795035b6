// ItemPanel: the products and remarks part (pItem) of the list window's lower panel, a page
// control with its tabs at the bottom: "Продукция" shows the numbered product lines,
// "Примечания" the user's remark on the enterprise.
#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QTabWidget;

namespace zorel {

class RemarkMemo;

class ItemPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ItemPanel(QWidget* parent = nullptr);

  void SetProducts(const QString& text);
  QString ProductsText() const;
  RemarkMemo* Memo() const { return mRemark_; }

 private:
  QTabWidget* pgCommon_;
  QScrollArea* sbItem_;
  QLabel* lItem_;
  RemarkMemo* mRemark_;
};

}  // namespace zorel
