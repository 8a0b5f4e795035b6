// The main window's "Редактор форм": the print form editor, created on first use and kept so
// that the form survives between openings, shown modally over a copy of the active list and
// its current row, or over the whole base from its first record.
#include <algorithm>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "print/prn_editor.h"
#include "shell/child_window.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::FileFormEditClick() {
  if (frmPrnEditor_ == nullptr) {
    frmPrnEditor_ = new TfrmPrnEditor(dm_, prompts_, FormPrompts::Standard(), this);
  }
  RecordList list;
  std::int32_t current = 0;
  if (const TMDIChild* active = ActiveChild()) {
    list = active->Records();
    current = std::max(0, active->CurrentRow());
  } else {
    dm_.FillAllRecords(list);
  }
  frmPrnEditor_->SetPrintList(&list);
  frmPrnEditor_->SetCurrentIndex(current);
  prompts_->runModal(*frmPrnEditor_);
  frmPrnEditor_->SetPrintList(nullptr);
}

}  // namespace zorel
