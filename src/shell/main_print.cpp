// The main window's printing commands: the printer setup, whose printer every print uses, and
// "Печать ...", which previews the active list (or the whole base) through a print form file.
#include <algorithm>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "print/list_printing.h"
#include "reportui/printer_setup.h"
#include "shell/child_window.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::FilePrinterSetupClick() { SetUpSharedPrinter(*prompts_, this); }

TMainForm::PrintSource TMainForm::ActiveListOrBase() const {
  PrintSource source{{}, 0, QStringLiteral("Вся база")};
  if (const TMDIChild* child = ActiveChild()) {
    source = {child->Records(), std::max(0, child->CurrentRow()),
              child->windowTitle().remove(QStringLiteral("[*]"))};
  } else {
    dm_.FillAllRecords(source.records);
  }
  return source;
}

void TMainForm::FilePrintClick() {
  if (!printing_) printing_ = std::make_unique<ListPrinting>(dm_, prompts_, this);
  const PrintSource source = ActiveListOrBase();
  printing_->documentName = source.name;
  printing_->PreviewListThroughForm(source.records, source.current);
}

}  // namespace zorel
