// TfrmPrnPages: the record range dialog asked before a list is previewed or printed: all
// records, or the positions from one number to another, counted from 1 in list order. Created
// once and kept, so its fields keep their values between uses.
#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace zorel {

class TfrmPrnPages : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmPrnPages(QWidget* parent = nullptr);

  // Both fields' upper limit becomes count (at least 1); a larger value is cut to it.
  void SetRangeLimit(int count);
  bool AllRecords() const;
  void SetAllRecords(bool all);
  int RangeFrom() const;
  int RangeTo() const;

  QSpinBox* FromField() const { return seFrom_; }
  QSpinBox* ToField() const { return seTo_; }
  QWidget* RangePanel() const { return pPages_; }

 private:
  QCheckBox* cbAllPages_;
  QWidget* pPages_;
  QSpinBox* seFrom_;
  QSpinBox* seTo_;
};

}  // namespace zorel
