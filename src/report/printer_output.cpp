#include "report/printer_output.h"

#include <malloc.h>

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "report/page_painter.h"

namespace zorel {

void ApplyReportPage(QPrinter& printer, const TRepPage& page) {
  const double w = page.Width();
  const double h = page.Length();
  const bool landscape = w > h;
  const QPageSize size(landscape ? QSizeF(h, w) : QSizeF(w, h), QPageSize::Millimeter);
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(
      size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

void PrintPages(QPrinter& printer, const TReport& report, PageGenerator& pages, int first,
                int last) {
  // The PDF engine sets up a compressor of a few hundred kilobytes for every page; freed memory
  // is kept for the next one instead of going back to the system and faulting in again.
  static const bool keepFreedMemory =
      mallopt(M_TRIM_THRESHOLD, 64 << 20) != 0 && mallopt(M_MMAP_THRESHOLD, 4 << 20) != 0;
  (void)keepFreedMemory;
  ApplyReportPage(printer, report.Page);
  first = std::max(first, 0);
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw PrintOutputError("Не могу печатать на " + target.toStdString());
  }
  const double fx = painter.device()->logicalDpiX() / 254.0;
  const double fy = painter.device()->logicalDpiY() / 254.0;
  GeneratedPage page;
  for (int i = first; (last < 0 || i <= last) && pages.MakePage(i, page); ++i) {
    if (i > first) printer.newPage();
    PaintPage(painter, report, page, fx, fy);
  }
  painter.end();
}

void WritePdf(const QString& path, const TReport& report, PageGenerator& pages) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setDocName(report.ReportTitle);
  PrintPages(printer, report, pages, 0);
}

}  // namespace zorel
