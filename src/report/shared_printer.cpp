#include "report/shared_printer.h"

#include <QPrinter>

namespace zorel {

QPrinter& SharedPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

}  // namespace zorel
