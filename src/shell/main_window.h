// TMainForm: the main window, an MDI frame over the list windows, with the menu, the tool bar
// and the status bar (clock, position in the active list, hint text). Commands that work on a
// list act on the active list window. It sends UM_IDLEDETAIL to the active list window whenever
// the event queue has just become empty, and handles UM_LISTSTATUS and UM_SAVELISTAS.
//
// The data module must outlive the window. The questions and file dialogs go through the
// window's UserPrompts, which tests replace.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "data/list_file.h"
#include "shell/command_states.h"
#include "shell/main_actions.h"

class QLabel;
class QMdiArea;

namespace zorel {

class ListPrinting;
class Tdm;
class TMDIChild;
class SearchDialog;
class HelpWindow;
class ToolPanel;
class TfrmSearch;
class TfrmSearchClass;
class TfrmSearchItems;
class TfrmPrnEditor;
struct UserPrompts;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // caption: the application title with the base's edition.
  TMainForm(Tdm& dm, const QString& caption, QWidget* parent = nullptr);
  ~TMainForm() override;

  Tdm& Dm() const { return dm_; }
  // The caption given at creation; the title bar adds the name of a maximized list window.
  QString Caption() const { return caption_; }
  void SetPrompts(std::shared_ptr<UserPrompts> prompts);
  const std::shared_ptr<UserPrompts>& Prompts() const { return prompts_; }
  // The help file that "Справка" opens; without one, or without a program to open it, the
  // bundled guide opens in the program's own help window.
  void SetHelpFile(const QString& fileName) { helpFile_ = fileName; }
  QString HelpFile() const { return helpFile_; }

  // The active list window, or null.
  TMDIChild* ActiveChild() const;
  // The list window most recently created by New, Open or a search (null once closed).
  TMDIChild* LastChild() const;
  QList<TMDIChild*> ListWindows() const;
  // A new list window over the whole base, captioned "Вся база". A search command fills it
  // with its result through TMDIChild::SetSearchResult.
  TMDIChild* NewListWindow();
  // Opens a list file in a new list window. A file of the wrong format leaves no window;
  // EChildError passes to the caller, and no window is left either.
  void OpenListWindow(const QString& fileName);
  // Save: an unmodified list is not saved; a list without a file goes through Save As.
  void SaveList(TMDIChild* window);
  // Save As through the save dialog.
  void SaveListAs(TMDIChild* window);

  std::int32_t RecordClipboard() const { return recordClipboard_; }
  // Status bar panel 0 (clock), 1 (position in the list) or 2 (hint text).
  QString StatusText(int panel) const;
  const MainActions& Actions() const { return actions_; }
  ToolPanel* ToolBarPanel() const { return pToolBar_; }

 public slots:
  void UpdateMenuItems();
  void ProcessOnIdle();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private slots:
  void FileNewItemClick();
  void FileOpenItemClick();
  void FileCloseItemClick();
  void FileSaveItemClick();
  void FileSaveAsItemClick();
  void FileAppendItemClick();
  void FileSubItemClick();
  // The active list to an XLSX or CSV file, with the fields the user picks.
  void FileExportItemClick();
  // "Сводка по списку" over the active list; a bar opens its enterprises as a new list window.
  void FileSummaryItemClick();
  void FileExitItemClick();
  void CutItemClick();
  void CopyItemClick();
  void PasteItemClick();
  // The three searches: by requisites, by products, by branches.
  void MISearch1Click();
  void MISearch2Click();
  void MISearch3Click();
  // The mail commands: the current record or the whole active list to the mail dialog.
  void SendSingleClick();
  void SendListClick();
  // The print form editor over the active list, or the whole base.
  void FileFormEditClick();
  // The platform's printer dialog on the printer every print goes to.
  void FilePrinterSetupClick();
  // The active list through a print form file the user chooses, into the preview.
  void FilePrintClick();
  void ParamHintClick();
  void ParamInfoClick();
  void ParamItemClick();
  void ParamReklamaClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void HelpContentsClick();
  void HelpAboutItemClick();
  void TimerTimer();
  void WindowMenuAboutToShow();

 private:
  void ConnectAction(QAction* action, void (TMainForm::*slot)());
  void ConnectButton(QWidget* button, QAction* action);
  TMDIChild* CreateListWindow();
  void MergeIntoActive(MergeMode mode);
  void OnListStatus(int currentRowPlusOne, int count);
  // Shows the dialog and, unless it was cancelled, opens a new list window with the records of
  // the source (the active list or the whole base) that pass the dialog's request.
  void RunSearchCommand(SearchDialog& dialog);
  void ApplyCommandStates();
  void RunMail(const QString& recipients, std::int32_t current);
  // What printing and the form editor work on: the active list at its current row under its
  // caption, or the whole base from its first record as "Вся база".
  struct PrintSource {
    RecordList records;
    std::int32_t current;
    QString name;
  };
  PrintSource ActiveListOrBase() const;
  // Tiles or cascades the list windows that are not minimized above a row of the minimized ones.
  void ArrangeListWindows(bool tile);

  Tdm& dm_;
  std::shared_ptr<UserPrompts> prompts_;
  MainActions actions_;
  ToolPanel* pToolBar_;
  QMdiArea* mdiArea_;
  QLabel* sbPanels_[3];
  QTimer timer_;
  std::int32_t recordClipboard_ = -1;
  QPointer<TMDIChild> lastChild_;
  CommandStates states_;
  QString caption_;
  QString helpFile_;
  bool firstShown_ = false;
  std::unique_ptr<ListPrinting> printing_;  // created on first use
  // Created on first use and kept, so each reopening shows the last search.
  TfrmSearch* frmSearch_ = nullptr;
  TfrmSearchItems* frmSearchItems_ = nullptr;
  TfrmSearchClass* frmSearchClass_ = nullptr;
  TfrmPrnEditor* frmPrnEditor_ = nullptr;
  HelpWindow* helpWindow_ = nullptr;
};

}  // namespace zorel
