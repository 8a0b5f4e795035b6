// ExportDialog: "Экспорт списка" asks how the active list goes out: XLSX or CSV, for CSV its
// encoding and separator, and which fields (the print fields, the remark unticked) in which
// order. The file itself is chosen after it.
#pragma once

#include <QDialog>

#include "export/list_export.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace zorel {

class ExportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ExportDialog(QWidget* parent = nullptr);

  ExportOptions Options() const;

 private:
  void UpdateControls();

  QComboBox* format_;
  QComboBox* encoding_;
  QComboBox* separator_;
  QListWidget* fields_;
  QPushButton* ok_;
};

}  // namespace zorel
