// TfrmPrnEditor: the print form editor. One form at a time: a report with one detail band on
// which the user places labels bound to the print fields (named by the field's letter and the
// smallest free number), sets their fonts and frames and the page, saves the form as a .rpt
// file in the forms folder beside the base ("rpt", a sibling of the base's folder), opens it
// again, and previews or prints the list handed in by the main window through it.
//
// Every change to the form can be undone (Ctrl+Z) and redone (Ctrl+Shift+Z); the status line
// names the selected element with its position and size in millimetres, and at saving names
// the elements lying outside the band or the printable width. The file panel turns red while
// the form is modified. The data module and the print list must outlive the editor's use of
// them; the editor is kept for the whole run, so the form survives between openings.
#pragma once

#include <QDialog>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <string>

#include "data/record_list.h"
#include "print/form_prompts.h"
#include "report/rep_style.h"
#include "reportui/design_object.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace zorel {

class ListPrinting;
class Tdm;
class TfrmPageSetup;
class TReport;
class TRepDesigner;
class ReportSurface;
struct UserPrompts;

class TfrmPrnEditor : public QDialog {
  Q_OBJECT

 public:
  TfrmPrnEditor(const Tdm& dm, std::shared_ptr<UserPrompts> prompts, FormPrompts formPrompts,
                QWidget* parent = nullptr);
  ~TfrmPrnEditor() override;

  // The list to print (record numbers) and the position of the current record in it; the
  // list is not owned.
  void SetPrintList(const RecordList* list) { printList_ = list; }
  void SetCurrentIndex(std::int32_t index) { currentIndex_ = index; }
  const RecordList* PrintList() const { return printList_; }
  std::int32_t CurrentIndex() const { return currentIndex_; }

  // The chooser text of print field 0..17 and its text for the record at a list position.
  static QString ChooserText(int field);
  QString FieldText(std::int32_t position, int field) const;

  // The tools, as their buttons run them.
  void New();
  void Open();
  // False when the form was not written (cancelled or failed); the form then stays modified.
  bool Save();
  bool SaveAs();
  void Create();
  void ChooseFont();
  void ChooseTextColor();
  void ChooseColor();
  // side: 0 left, 1 bottom, 2 right, 3 top, as the buttons stand.
  void ToggleFrameSide(int side);
  // Through the range dialog in list mode, then into the preview window or to the printer.
  void Preview();
  void Print();
  // The page parameters dialog on the form's page.
  void PageSetup();

  TReport& Report() const { return *report_; }
  TRepDesigner& Designer() const { return *designer_; }
  ReportSurface& Surface() const { return *surface_; }
  QUndoStack& UndoStack() { return undo_; }
  bool FormModified() const { return formModified_; }
  bool HasFormFile() const { return hasFormFile_; }
  QString FormFileName() const { return formFileName_; }
  QString StatusText() const;
  // The elements outside the band or the printable width, by name.
  QStringList ElementsOutside() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  friend class FormChange;
  void BuildTools();
  static std::unique_ptr<TReport> NewReport();
  // Asks whether to save a modified form first; false when it should stay (not saved).
  bool MayDiscardForm();
  // The form in use from now on, unmodified, with its file (none when path is empty).
  void TakeForm(std::unique_ptr<TReport> report, const QString& path);
  void InstallReport(std::unique_ptr<TReport> report);
  void AttachDesigner();
  void SetModified(bool modified);
  bool WriteForm(const QString& path);
  void ElementSelected(const DesignObject& object);
  void ShowTools(const TRepFrame& frame, const ReportFont& font);
  void UpdateStatus();
  QString SelectionText() const;
  // The target of the tools: the selected label, else the selected band, else the report.
  TRepFrame& TargetFrame() const;
  ReportFont& TargetFont() const;

  // Changes to the form go through here, so that each can be undone. mergeKey joins
  // consecutive changes of one kind (typing in the info field, the width spinner).
  std::string Snapshot() const;
  void BeginChange();
  void EndChange(int mergeKey = -1);
  // Puts the form of these bytes in place; when they cannot be read, says so with failure
  // (its %1 the reason), leaves the form and gives false.
  bool Restore(const std::string& bytes, const QString& failure);
  void AfterUndo();
  void RunPrint(bool preview);

  const Tdm& dm_;
  std::shared_ptr<UserPrompts> prompts_;
  FormPrompts formPrompts_;
  std::unique_ptr<TReport> report_;
  // What the info field edits: the label of that name, or the band.
  QString remembered_;
  bool formModified_ = false;
  bool hasFormFile_ = false;
  QString formFileName_;
  const RecordList* printList_ = nullptr;
  std::int32_t currentIndex_ = 0;
  QUndoStack undo_;
  // Declared after the undo stack and the report, so it is destroyed before either.
  std::unique_ptr<TRepDesigner> designer_;
  std::string before_;
  bool restoring_ = false;
  QString saveNote_;
  std::unique_ptr<ListPrinting> printing_;  // created on first use, like the page dialog
  TfrmPageSetup* pageSetup_ = nullptr;

  QFrame* pFile_;
  QComboBox* cbField_;
  QLineEdit* eInfo_;
  QToolButton* sbFontColor_;
  QToolButton* sbFrame_[4];
  QToolButton* sbColor_;
  QSpinBox* seWidth_;
  QRadioButton* rbSingle_;
  QRadioButton* rbList_;
  QToolButton* sbPageSetup_;
  QToolButton* sbPreview_;
  QToolButton* sbPrint_;
  QScrollArea* scrollEditor_;
  ReportSurface* surface_;
  QLabel* statusLine_;
  QColor frameColor_;
  QColor textColor_;
  ReportFont toolFont_;
};

}  // namespace zorel
