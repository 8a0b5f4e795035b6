// "Установки принтера": chooses the printer every print goes to, and its paper settings; it
// prints nothing. With no printer installed it says so and what to do instead.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPrinter;

namespace zorel {

struct UserPrompts;

class PrinterSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // The printer's name and settings change only when the dialog is confirmed.
  explicit PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

  QComboBox* PrinterChoice() const { return printers_; }
  QLabel* Note() const { return note_; }

  void accept() override;

 private:
  QPrinter& printer_;
  QComboBox* printers_;
  QLabel* note_;
};

// The dialog over the printer every print goes to, as the preview and the main window show it.
void SetUpSharedPrinter(UserPrompts& prompts, QWidget* parent);

}  // namespace zorel
