// TfrmPageSetup: the page parameters of a print form: one of 22 papers (a star marks those the
// current printer takes), orientation, the four margins, the number of columns and the space
// between them, all in whole millimetres. Created once and kept.
#pragma once

#include <QDialog>

#include "report/rep_page.h"

class QComboBox;
class QLineEdit;
class QPrinter;
class QSpinBox;

namespace zorel {

inline constexpr int kPaperCount = 22;
// The paper size value of a list position, and the position of a paper size (-1 for none).
PaperSize PaperAt(int position);
int PaperPosition(PaperSize paper);

class TfrmPageSetup : public QDialog {
  Q_OBJECT

 public:
  // printer: the one whose supported papers get a star.
  explicit TfrmPageSetup(QPrinter& printer, QWidget* parent = nullptr);

  // From the report's page: measures to the nearest whole millimetre (halves to even); the
  // paper and orientation are chosen without the paper change step, so the width and height
  // fields show the page's own until the user changes them.
  void LoadFromPage(const TRepPage& page);
  // Back on confirmation: the margins, the column space, the columns, the paper (Letter when
  // none is chosen) and the orientation.
  void StoreToPage(TRepPage& page) const;

  // Renews every paper's marker column against the printer ("* " or two blanks), then chooses
  // Letter when no paper is chosen. Runs whenever the dialog is shown.
  void MarkSupportedPapers();

  QComboBox* PaperList() const { return cbPaper_; }
  QComboBox* OrientationList() const { return cbPaperOrientation_; }
  QString WidthText() const;
  QString HeightText() const;
  QSpinBox* Margin(int which) const { return margins_[which]; }  // top, bottom, left, right
  QSpinBox* Columns() const { return seColumns_; }
  QSpinBox* ColumnSpace() const { return seColumnSpace_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void PaperChanged();

  QPrinter& printer_;
  QComboBox* cbPaper_;
  QComboBox* cbPaperOrientation_;
  QLineEdit* eWidth_;
  QLineEdit* eHeight_;
  QSpinBox* margins_[4];
  QSpinBox* seColumns_;
  QSpinBox* seColumnSpace_;
  bool loading_ = false;
};

}  // namespace zorel
