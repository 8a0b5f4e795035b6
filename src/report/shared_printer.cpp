#include "report/shared_printer.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace zorel {

QPrinter& SharedPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

bool PrinterAvailable() {
  // Without a print system the printer falls back to PDF, but has no file to write then.
  return !SharedPrinter().outputFileName().isEmpty() ||
         !QPrinterInfo::availablePrinterNames().isEmpty();
}

}  // namespace zorel
