// TRepStandardPreview: the maximised preview window of one report run. It generates the pages
// in slices between events, so the first page shows while the rest are still being made; a
// tool bar zooms (fit, 100 %, width), pages (buttons and Page Up/Down, Home, End), sets up the
// printer, prints and saves to PDF; the status line says "Страница N из M" and a gauge the
// progress.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "data/replacement_file.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace zorel {

class PageGenerator;
class TRepPreview;
class TReport;
struct UserPrompts;

class TRepStandardPreview : public QDialog {
  Q_OBJECT

 public:
  // The report's hooks feed the run (expectedBands, 0 when unknown, drives the gauge); the
  // report must outlive the window.
  TRepStandardPreview(TReport& report, int expectedBands, std::shared_ptr<UserPrompts> prompts,
                      QWidget* parent = nullptr);
  ~TRepStandardPreview() override;

  TRepPreview* Preview() const { return preview_; }
  PageGenerator& Pages() const { return *pages_; }
  QString StatusText() const;
  QProgressBar* Gauge() const { return gauge_; }

  // What the user prints (the list's caption or the form's name); it names the PDF file.
  QString documentName;
  // The PDF file proposed: the document's name with ".pdf", in the folder a PDF was last
  // saved to while the program runs, else the user's documents folder.
  QString ProposedPdfPath() const;
  // The PDF file to write, or empty when cancelled; a file dialog unless replaced.
  std::function<QString(QWidget* parent, const QString& proposed)> choosePdfFile;
  // What a PDF (saved, or printed into a file) may not replace: the open base, the form.
  UserFileRules pdfRules;

  // Counts every remaining page at once.
  void FinishRun();

  void FirstPage();
  void PrevPage();
  void NextPage();
  void LastPage();
  void PrintSetup();
  void Print();
  void SaveToPdf();

 private:
  void GenerateSlice();
  void UpdateStatus();

  TReport& report_;
  std::shared_ptr<UserPrompts> prompts_;
  std::unique_ptr<PageGenerator> pages_;
  TRepPreview* preview_;
  QLabel* status_;
  QProgressBar* gauge_;
  QTimer* slice_;
};

// Previews the report modally and returns when the window is closed; "Сохранить в PDF ..."
// keeps pdfRules.
void PreviewReport(TReport& report, int expectedBands, std::shared_ptr<UserPrompts> prompts,
                   QWidget* parent, const UserFileRules& pdfRules,
                   const QString& documentName = {});

}  // namespace zorel
