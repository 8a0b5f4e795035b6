// The main window's printing commands: the printer setup, whose printer every print uses, and
// "Печать ...", which previews the active list (or the whole base) through a print form file.

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "print/list_printing.h"
#include "report/shared_printer.h"
#include "reportui/printer_setup.h"
#include "shell/child_window.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::FilePrinterSetupClick() {
  PrinterSetupDialog dialog(SharedPrinter(), this);
  prompts_->runModal(dialog);
}

void TMainForm::FilePrintClick() {
  if (!printing_) printing_ = std::make_unique<ListPrinting>(dm_, prompts_, this);
  RecordList list;
  std::int32_t current = 0;
  if (TMDIChild* child = ActiveChild()) {
    list = child->Records();
    printing_->documentName = child->windowTitle().remove(QStringLiteral("[*]"));
    current = std::max(0, child->CurrentRow());
  } else {
    dm_.FillAllRecords(list);
    printing_->documentName = QStringLiteral("Вся база");
  }
  printing_->PreviewListThroughForm(list, current);
}

}  // namespace zorel
