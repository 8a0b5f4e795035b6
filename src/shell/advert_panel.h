// AdvertPanel: the advertising panel (pReklama) of the list window's lower panel. An
// enterprise's advertising text is shown on an aqua scroll box; without one the scroll box is
// hidden and the publisher's contact text beneath it shows instead.
#pragma once

#include <QFrame>

class QLabel;
class QScrollArea;

namespace zorel {

// The publisher's name, telephone, e-mail address and web address, one per line.
extern const char* const kPublisherContact;

class AdvertPanel : public QFrame {
  Q_OBJECT

 public:
  explicit AdvertPanel(QWidget* parent = nullptr);

  // An empty text hides the scroll box and uncovers the contact text.
  void SetAdvert(const QString& text);
  QString AdvertText() const;
  bool AdvertShown() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitText();

  QLabel* lReklamaOwner_;
  QScrollArea* sbReklama_;
  QLabel* lReklama_;
};

}  // namespace zorel
