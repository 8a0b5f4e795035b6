// TMDIChild: a list window. It owns one RecordList and shows it as a grid of enterprise names
// with the requisites of the current enterprise beside it and products, advertising and the
// user's remark below. Details are fetched only when the main window reports the application
// idle (UM_IDLEDETAIL), so scrolling stays quick. It reports its row and size to its main
// window (UM_LISTSTATUS) and asks it to run Save As on close (UM_SAVELISTAS).
//
// The data module and the prompts must outlive the window. List file errors are thrown as
// EChildError for the application's exception handler.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "data/list_file.h"
#include "data/record_list.h"

class QMdiSubWindow;

namespace zorel {

class Tdm;
class AdvertPanel;
class ItemPanel;
class NameGrid;
class RecordGridModel;
class RequisitesPanel;
class SplitBar;
struct UserPrompts;

class TMDIChild : public QWidget {
  Q_OBJECT

 public:
  // Creates the window over the whole base.
  TMDIChild(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent = nullptr);
  ~TMDIChild() override;

  const RecordList& Records() const { return records_; }
  QString ListFileName() const { return listFileName_; }
  bool HasFile() const { return hasFile_; }
  bool Modified() const { return modified_; }
  void SetFileState(bool hasFile, bool modified);
  bool DetailPending() const { return detailPending_; }
  std::int32_t PendingRemark() const { return pendingRemark_; }

  // Replaces the list by a search result: the caption names the search; the window counts as
  // modified and has no file.
  void SetSearchResult(RecordList records, const QString& caption);
  // The file Save As proposes for a list without a file: name + ".lst" in the lists folder.
  void ProposeListName(const QString& name);

  void SetMainHandle(QObject* mainWindow);
  // Grid row count := n (the grid keeps one row below 1), then reports the status.
  void SetRecordCount(int n);
  int CurrentRow() const;
  void SetCurrentRow(int row);
  // The record number at the current row, -1 when the row has no record.
  std::int32_t CurrentRecord() const;
  void ShowDetails(int row);
  // How many times the details of a record were read for the panels, for benchmarks that check
  // that scrolling leaves them to the idle moment.
  std::int64_t DetailFetches() const { return detailFetches_; }

  // Replaces the list and the panel layout by a list file's. False (after the information box)
  // for a file of the wrong format, which leaves the window unchanged.
  bool LoadFromFile(const QString& fileName);
  // Takes the list and the panel layout of a list file read with LoadListFile.
  void ApplyListFile(LoadedList loaded, const QString& fileName);
  // An empty name saves to ListFileName.
  void SaveToFile(const QString& fileName = QString());
  // Appends or subtracts a list file's records; false (after the information box) for a file
  // of the wrong format.
  bool MergeFile(const QString& fileName, MergeMode mode);
  void InsertRecord(std::int32_t record);
  void MarkChanged();
  void DeleteCurrent();

  bool FullNameHints() const;
  void SetFullNameHints(bool on);
  bool InfoVisible() const { return infoShown_; }
  bool ItemVisible() const { return itemShown_; }
  bool ReklamaVisible() const { return reklamaShown_; }
  void SetInfoVisible(bool visible);
  void SetItemVisible(bool visible);
  void SetReklamaVisible(bool visible);
  int LowerPanelHeight() const;
  void SetLowerPanelHeight(int height);
  int AdvertPanelWidth() const;
  void SetAdvertPanelWidth(int width);
  // The nearest sizes the splitters allow in the window as it is now.
  int LowerHeightWithinLimits(int height) const;
  int AdvertWidthWithinLimits(int width) const;

  // Screen point of the grid's left edge at the top of the hinted row.
  QPoint HintPosition() const;
  // Puts the current enterprise's name on the clipboard (empty without a record).
  void CopyNameToClipboard() const;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  // What every move of the current row does: store an edited remark, report the status and
  // leave the details to the next idle moment.
  void SelectionSteps();
  void StorePendingRemark();
  void ReportStatus(int count);
  bool IsActiveListWindow() const;
  QMdiSubWindow* SubWindow() const;
  void OnIdleDetail();
  void OnRemarkEdited();

  Tdm& dm_;
  std::shared_ptr<UserPrompts> prompts_;
  RecordList records_;
  QString listFileName_;
  bool hasFile_ = false;
  bool modified_ = false;
  bool detailPending_ = true;
  bool infoShown_ = true;
  bool itemShown_ = true;
  bool reklamaShown_ = true;
  std::int32_t pendingRemark_ = -1;
  bool remarkFailed_ = false;      // storing it failed and was reported; not retried until a move
  std::int32_t shownRecord_ = -1;  // record whose details the lower panel shows
  std::int64_t detailFetches_ = 0;
  QPointer<QObject> mainHandle_;

  RecordGridModel* model_;
  NameGrid* grid_;
  QWidget* pDetail_;
  RequisitesPanel* pInfo_;
  SplitBar* panelSplit_;
  QWidget* pDetail2_;
  AdvertPanel* pReklama_;
  SplitBar* panelSplit2_;
  ItemPanel* pItem_;
};

}  // namespace zorel
