#include "report/printer_output.h"

#include <malloc.h>

#include <QFile>
#include <QIODevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "report/page_painter.h"

namespace zorel {
namespace {

constexpr int kPdfDpi = 1200;  // what a high-resolution PDF printer paints at

// The PDF writer's bytes into the replacement's temporary; a failed write stops the writer.
class ReplacementDevice : public QIODevice {
 public:
  explicit ReplacementDevice(ReplacementFile& file) : file_(file) { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    file_.Append(data, static_cast<std::size_t>(size));
    return file_.Ok() ? size : -1;
  }

 private:
  ReplacementFile& file_;
};

void ApplyReportPage(QPagedPaintDevice& device, const TRepPage& page) {
  const double w = page.Width();
  const double h = page.Length();
  const bool landscape = w > h;
  const QPageSize size(landscape ? QSizeF(h, w) : QSizeF(w, h), QPageSize::Millimeter);
  device.setPageLayout(QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                   QMarginsF(0, 0, 0, 0)));
}

enum class Painted { Done, Stopped, Failed };

Painted PaintPages(QPagedPaintDevice& device, const TReport& report, PageGenerator& pages,
                   const PageCheck& beforePage) {
  // The PDF engine sets up a compressor of a few hundred kilobytes for every page; freed memory
  // is kept for the next one instead of going back to the system and faulting in again.
  static const bool keepFreedMemory =
      mallopt(M_TRIM_THRESHOLD, 64 << 20) != 0 && mallopt(M_MMAP_THRESHOLD, 4 << 20) != 0;
  (void)keepFreedMemory;
  ApplyReportPage(device, report.Page);
  QPainter painter;
  if (!painter.begin(&device)) return Painted::Failed;
  const double fx = painter.device()->logicalDpiX() / 254.0;
  const double fy = painter.device()->logicalDpiY() / 254.0;
  GeneratedPage page;
  for (int i = 0; pages.MakePage(i, page); ++i) {
    if (beforePage && !beforePage(i)) {
      painter.end();
      return Painted::Stopped;
    }
    if (i > 0) device.newPage();
    PaintPage(painter, report, page, fx, fy);
  }
  return painter.end() ? Painted::Done : Painted::Failed;
}

}  // namespace

bool PrintPages(QPrinter& printer, const UserFileRules& fileRules, const TReport& report,
                PageGenerator& pages, const PageCheck& beforePage) {
  if (!printer.outputFileName().isEmpty()) {
    return WritePdf(QFile::encodeName(printer.outputFileName()).toStdString(), fileRules, report,
                    pages, beforePage);
  }
  printer.setFullPage(true);
  const Painted painted = PaintPages(printer, report, pages, beforePage);
  if (painted == Painted::Failed) {
    throw PrintOutputError("Не могу печатать на " + printer.printerName().toStdString());
  }
  return painted == Painted::Done;
}

UserFileRules PdfRules(const std::string& dbDir, const std::string& formPath) {
  UserFileRules rules;
  rules.atLink = AtLink::Replace;
  rules.keptOut.push_back({dbDir, "файл базы данных"});
  if (!formPath.empty()) rules.keptOut.push_back({formPath, "печатаемая форма"});
  return rules;
}

bool WritePdf(const std::string& path, const UserFileRules& rules, const TReport& report,
              PageGenerator& pages, const PageCheck& beforePage) {
  ReplacementFile file(path, rules);
  Painted painted = Painted::Failed;
  if (file.Ok()) {
    ReplacementDevice device(file);
    QPdfWriter writer(&device);
    writer.setResolution(kPdfDpi);
    writer.setTitle(report.ReportTitle);
    painted = PaintPages(writer, report, pages, beforePage);
  }
  if (painted == Painted::Stopped) return false;  // the temporary goes, the old file stays
  if (painted != Painted::Done || !file.Commit()) {
    throw PrintOutputError(
        "Не могу записать файл PDF " + path + "\n" + path + ": " +
        (file.Ok() ? std::string("не удалось нарисовать страницы") : file.Reason()));
  }
  return true;
}

}  // namespace zorel
