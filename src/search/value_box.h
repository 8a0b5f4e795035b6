// The value box of the requisites dialog: a plain edit box for free-text and numeric fields,
// an editable box with a drop-down of dictionary entries for the dictionary fields, which
// offers the entries holding the typed text in a pop-up list. Either way the value is the text
// the user typed or picked.
#pragma once

#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QStackedLayout;

namespace zorel {

class ValueBox : public QWidget {
  Q_OBJECT

 public:
  explicit ValueBox(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  // Switches to the drop-down with these choices, none of them picked and the text empty.
  void ShowChoices(const QStringList& choices);
  // Switches to the plain edit box; the text stays.
  void ShowPlain();
  bool HasDropDown() const;
  QStringList Choices() const;
  void FocusEditor();
  // A click on button while a list of this box is open closes the list and clicks the button
  // as well, rather than only closing the list.
  void PassClicksTo(QAbstractButton* button);

 signals:
  void TextChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QStackedLayout* stack_;
  QLineEdit* edit_;
  QComboBox* combo_;
  QAbstractButton* passTo_ = nullptr;
};

}  // namespace zorel
