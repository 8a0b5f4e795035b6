// The main window's three search commands. The dialogs are created on first use and kept; the
// filtering is the data module's. The result is filtered before its window opens, so a search
// that fails leaves no half-filled window behind.
#include <QDateTime>
#include <QPointer>

#include "components/user_prompts.h"
#include "components/wait_cursor.h"
#include "data/data_module.h"
#include "search/search_branches.h"
#include "search/search_products.h"
#include "search/search_requisites.h"
#include "shell/child_window.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::MISearch1Click() {
  if (frmSearch_ == nullptr) frmSearch_ = new TfrmSearch(dm_, prompts_, this);
  RunSearchCommand(*frmSearch_);
}

void TMainForm::MISearch2Click() {
  if (frmSearchItems_ == nullptr) frmSearchItems_ = new TfrmSearchItems(dm_, prompts_, this);
  RunSearchCommand(*frmSearchItems_);
}

void TMainForm::MISearch3Click() {
  if (frmSearchClass_ == nullptr) frmSearchClass_ = new TfrmSearchClass(dm_, this);
  RunSearchCommand(*frmSearchClass_);
}

void TMainForm::RunSearchCommand(SearchDialog& dialog) {
  const QPointer<TMDIChild> active = ActiveChild();
  dialog.SetSearchInListEnabled(active != nullptr);
  const int result = prompts_->runModal(dialog);
  if (result != kSearchInBase && result != kSearchInList) return;
  if (result == kSearchInList && active == nullptr) return;
  const WaitCursor wait;
  const SearchRequest request = dialog.Request();
  RecordList found = result == kSearchInList
                         ? RunSearch(dm_, active->Records(), request)
                         : RunSearch(dm_, WholeBaseList(dm_.RecordCount()), request);
  TMDIChild* child = NewListWindow();
  child->SetSearchResult(std::move(found),
                         SearchCaption(request.kind, QDateTime::currentDateTime()));
}

}  // namespace zorel
