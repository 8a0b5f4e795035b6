// The main window's "Редактор форм": the print form editor, created on first use and kept so
// that the form survives between openings, shown modally over a copy of the active list and
// its current row, or over the whole base from its first record.
#include "components/user_prompts.h"
#include "print/prn_editor.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::FileFormEditClick() {
  if (frmPrnEditor_ == nullptr) {
    frmPrnEditor_ = new TfrmPrnEditor(dm_, prompts_, FormPrompts::Standard(), this);
  }
  PrintSource source = ActiveListOrBase();
  frmPrnEditor_->SetPrintList(&source.records);
  frmPrnEditor_->SetCurrentIndex(source.current);
  prompts_->runModal(*frmPrnEditor_);
  frmPrnEditor_->SetPrintList(nullptr);
}

}  // namespace zorel
