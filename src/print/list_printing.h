// Printing and previewing a list through a print form: the range dialog in list mode, then
// the preview window (which prints and saves to PDF) or the printer. ListPrinting keeps the
// range dialog for the whole run, so it shows its last values; the "Печать ..." command uses
// it with a form file the user chooses.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "data/record_list.h"
#include "print/prn_pages.h"
#include "report/print_loop.h"

class QWidget;

namespace zorel {

class Tdm;
class TReport;
struct UserPrompts;

class ListPrinting {
 public:
  ListPrinting(const Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent);

  TfrmPrnPages& RangeDialog() { return range_; }

  // What is printed (the list's caption or the form's name); the preview names its PDF by it.
  QString documentName;

  // In list mode asks for the range and sets it on the loop; false when the dialog was not
  // confirmed. Single mode asks nothing.
  bool ChooseRange(ListPrintLoop& loop);
  // The run itself, after ChooseRange. A position outside the list or a band with too many
  // elements is refused with a message. formPath names the form's file (empty when it has
  // none), which a PDF may not replace.
  void Preview(TReport& form, ListPrintLoop& loop, const std::string& formPath);
  void Print(TReport& form, ListPrintLoop& loop, const std::string& formPath);

  // A print form file chosen in dir (the base's forms folder), or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& dir)> chooseForm;
  // "Печать ...": a form file, the range, then the preview of the list.
  void PreviewListThroughForm(const RecordList& list, std::int32_t currentIndex);

 private:
  bool Checked(const TReport& form, ListPrintLoop& loop);

  const Tdm& dm_;
  std::shared_ptr<UserPrompts> prompts_;
  QWidget* parent_;
  TfrmPrnPages range_;
};

}  // namespace zorel
