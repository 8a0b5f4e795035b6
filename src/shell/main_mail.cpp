// The main window's two mail commands: the current record or the whole active list goes to the
// mail dialog as text; recipients the run could not reach can come back as a new list window.
#include "data/record_list.h"
#include "mailui/send_form.h"
#include "shell/child_window.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::SendSingleClick() {
  if (const TMDIChild* active = ActiveChild()) {
    RunMail(QString::number(active->CurrentRecord()), active->CurrentRecord());
  }
}

void TMainForm::SendListClick() {
  if (const TMDIChild* active = ActiveChild()) {
    RunMail(QString::fromStdString(RecordListText(active->Records())), active->CurrentRecord());
  }
}

void TMainForm::RunMail(const QString& recipients, std::int32_t current) {
  SendMail(this, dm_, recipients, current, prompts_,
           [this](RecordList records, const QString& caption) {
             TMDIChild* window = NewListWindow();
             window->SetSearchResult(std::move(records), caption);
             window->ProposeListName(caption);
           });
}

}  // namespace zorel
