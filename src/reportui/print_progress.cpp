#include "reportui/print_progress.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QProgressDialog>

#include "report/page_generator.h"
#include "report/printer_output.h"

namespace zorel {

bool PrintWithProgress(QPrinter& printer, const UserFileRules& fileRules, TReport& report,
                       int expectedBands, QWidget* parent) {
  QProgressDialog progress(QStringLiteral("Работаю ..."), QStringLiteral("Отмена"), 0, 100, parent);
  progress.setObjectName(QStringLiteral("PrintProgress"));
  progress.setWindowTitle(report.ReportTitle);
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  // Shown at once: while it stands, nothing else in the window can touch the report.
  progress.show();
  PageGenerator pages(report, expectedBands);
  pages.Start();
  do {
    progress.setLabelText(QStringLiteral("Страница %1").arg(pages.PageCount() + 1));
    progress.setValue(pages.Progress());
    QCoreApplication::processEvents();
    if (progress.wasCanceled()) return false;
  } while (pages.Step());
  const int count = pages.PageCount();
  progress.setRange(0, count);
  printer.setDocName(report.ReportTitle);
  return PrintPages(printer, fileRules, report, pages, [&progress, count](int page) {
    progress.setLabelText(QStringLiteral("Печать: страница %1 из %2").arg(page + 1).arg(count));
    progress.setValue(page);
    QCoreApplication::processEvents();
    return !progress.wasCanceled();
  });
}

}  // namespace zorel
