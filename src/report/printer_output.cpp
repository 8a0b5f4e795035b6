#include "report/printer_output.h"

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

bool PrintPages(QPrinter& printer, const TReport& report, const PageGenerator& pages, int first,
                int last, const std::function<bool(int page)>& beforePage) {
  ApplyReportPage(printer, report.Page);
  first = std::max(first, 0);
  last = std::min(last, pages.PageCount() - 1);
  QPainter painter;
  if (!painter.begin(&printer)) {
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    throw PrintOutputError("Не могу печатать на " + target.toStdString());
  }
  const double fx = painter.device()->logicalDpiX() / 254.0;
  const double fy = painter.device()->logicalDpiY() / 254.0;
  for (int i = first; i <= last; ++i) {
    if (beforePage && !beforePage(i)) {
      painter.end();
      return false;
    }
    if (i > first) printer.newPage();
    PaintPage(painter, report, pages.Page(i), fx, fy);
  }
  painter.end();
  return true;
}

void WritePdf(const QString& path, const TReport& report, const PageGenerator& pages) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setDocName(report.ReportTitle);
  PrintPages(printer, report, pages, 0, pages.PageCount() - 1);
}

}  // namespace zorel
