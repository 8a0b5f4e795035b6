#include "print/list_printing.h"

#include <QFile>
#include <QSpinBox>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "print/form_prompts.h"
#include "report/form_error.h"
#include "report/form_file.h"
#include "report/page_generator.h"
#include "report/printer_output.h"
#include "report/shared_printer.h"
#include "reportui/print_progress.h"
#include "reportui/rep_standard_preview.h"

namespace zorel {
namespace {

// The last range confirmed anywhere ("Печать ..." or the editor), offered by every range
// dialog while the program runs.
struct RangeChoice {
  bool made = false;
  bool all = true;
  int from = 1, to = 1;
};
RangeChoice lastRange;

}  // namespace

ListPrinting::ListPrinting(const Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent)
    : dm_(dm), prompts_(std::move(prompts)), parent_(parent), range_(parent) {
  chooseForm = [](QWidget* parent, const QString& dir) {
    return ChooseFormFile(parent, true, dir, {});
  };
}

bool ListPrinting::ChooseRange(ListPrintLoop& loop) {
  if (loop.Mode == PrintMode::Single) return true;
  range_.SetRangeLimit(loop.Count());
  if (lastRange.made) {
    range_.SetAllRecords(lastRange.all);
    range_.FromField()->setValue(lastRange.from);
    range_.ToField()->setValue(lastRange.to);
  }
  if (prompts_->runModal(range_) != QDialog::Accepted) return false;
  lastRange = {true, range_.AllRecords(), range_.RangeFrom(), range_.RangeTo()};
  if (range_.AllRecords()) {
    loop.SetAllRecords();
  } else {
    loop.SetRange(range_.RangeFrom(), range_.RangeTo());
  }
  return true;
}

bool ListPrinting::Checked(const TReport& form, ListPrintLoop& loop) {
  try {
    CheckBandSize(form);
    loop.Check();
    return true;
  } catch (const std::runtime_error& e) {
    prompts_->inform(parent_, QString::fromStdString(e.what()));
    return false;
  }
}

void ListPrinting::Preview(TReport& form, ListPrintLoop& loop, const std::string& formPath) {
  if (!Checked(form, loop)) return;
  loop.Attach(form);
  PreviewReport(form, loop.ExpectedBands(), prompts_, parent_, PdfRules(dm_.DbDir(), formPath),
                documentName);
}

void ListPrinting::Print(TReport& form, ListPrintLoop& loop, const std::string& formPath) {
  if (!Checked(form, loop)) return;
  if (!PrinterAvailable()) {
    prompts_->tell(parent_, MessageIcon::Warning, QString::fromUtf8(kNoPrinterMessage));
    return;
  }
  loop.Attach(form);
  try {
    PrintWithProgress(SharedPrinter(), PdfRules(dm_.DbDir(), formPath), form, loop.ExpectedBands(),
                      parent_);
  } catch (const PrintOutputError& e) {
    prompts_->inform(parent_, QString::fromStdString(e.what()));
  }
}

void ListPrinting::PreviewListThroughForm(const RecordList& list, std::int32_t currentIndex) {
  const QString path = chooseForm(parent_, QString::fromStdString(dm_.FormsDir()));
  if (path.isEmpty()) return;
  const std::string formPath = QFile::encodeName(path).toStdString();
  std::unique_ptr<TReport> form;
  try {
    form = LoadFormFile(formPath);
  } catch (const FormError& e) {
    prompts_->inform(parent_, QString::fromStdString(e.what()));
    return;
  }
  ListPrintLoop loop(dm_, list);
  loop.CurrentIndex = currentIndex;
  if (ChooseRange(loop)) Preview(*form, loop, formPath);
}

}  // namespace zorel
