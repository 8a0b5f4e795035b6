// SearchDialog: what the three search dialogs share. Each is shown modally and closes with
// kSearchCancel (the cancel button, Escape, the close box), kSearchInBase or kSearchInList; the
// caller then reads Request() and runs it with RunSearch (search_run.h). The caller tells the
// dialog before each showing whether a list window is active (SetSearchInListEnabled). The
// dialogs keep a reference to the data module, which must outlive them.
#pragma once

#include <QDialog>

#include "search/search_run.h"

class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace zorel {

class Tdm;

inline constexpr int kSearchCancel = 2;
inline constexpr int kSearchInBase = 6;
inline constexpr int kSearchInList = 7;

class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  void SetSearchInListEnabled(bool enabled);
  virtual SearchRequest Request() const = 0;

 public slots:
  void bbSearchInListClick();
  void bbSearchInBDClick();
  void bbCancelClick();
  // Escape and the close box cancel, like the cancel button.
  void reject() override;

 protected:
  SearchDialog(Tdm& dm, QWidget* parent);
  // Run by both search buttons before the dialog closes. An exception keeps it open.
  virtual void PrepareSearch() {}
  // The two search buttons are shown only while there is something to search for.
  void SetSearchButtonsVisible(bool visible);
  // "Поиск в списке", "Поиск в базе", "Отмена", right-aligned, for the subclass's layout.
  QHBoxLayout* ButtonRow() const { return buttonRow_; }
  // A flat, initially disabled button. It takes the focus when clicked, so an open cell
  // editor commits its text before the button acts.
  QToolButton* FlatButton(const QString& text, const char* name, const QString& hint);

  Tdm& dm_;

 private:
  QHBoxLayout* buttonRow_;
  QPushButton* bbSearchInList_;
  QPushButton* bbSearchInBD_;
  QPushButton* bbCancel_;
};

}  // namespace zorel
