// RequisitesPanel: the requisites panel (pInfo) on the right of the name grid: form of
// ownership, founding year, staff, address block, manager, telephones and faxes, e-mail and web
// address of one enterprise, in a scroll box. The address and telephone memos grow with their
// text and ArrangeRequisites moves everything below them. Controls carry the program's
// component names as object names.
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QScrollArea;

namespace zorel {

class TAutoHeightMemo;
struct RecordDetails;

class RequisitesPanel : public QFrame {
  Q_OBJECT

 public:
  explicit RequisitesPanel(QWidget* parent = nullptr);

  void SetDetails(const RecordDetails& details);
  void Clear();
  // Stacks the controls below the address memo after their texts are set.
  void ArrangeRequisites();

  QString EMailText() const;

 signals:
  void urlTextChanged();

 private:
  QLabel* Caption(const QString& name, const QString& text);
  QLineEdit* Edit(const QString& name, const QString& statusHint, bool framed = true);
  TAutoHeightMemo* Memo(const QString& name);

  QScrollArea* sbDetail_;
  QWidget* content_;
  QLineEdit *eOrgForm_, *eYear_, *ePeople_, *eIndex_, *eRegion_, *ePrinciple_, *eCode_, *eFax_,
      *eURL_;
  TAutoHeightMemo *mAddress_, *mPhones_;
  QLabel *lLetterAddress_, *lPrinciple_, *lbPhoneFax_, *lEMail_, *lMail_, *lURL_;
  QFrame *sAddress_, *pMail_;
  QWidget* sbGoToURL_;
};

}  // namespace zorel
