// Generated pages onto a QPrinter: a system printer (through CUPS where present) or a PDF
// file. The printer's page takes the report's page size and orientation without margins, as
// the report keeps its own; each page is painted by PaintPage.
#pragma once

#include <QString>
#include <stdexcept>

#include "report/page_generator.h"
#include "report/report.h"

class QPrinter;

namespace zorel {

class PrintOutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void ApplyReportPage(QPrinter& printer, const TRepPage& page);
// Pages first to last (0-based, inclusive; last -1 for the end of the run), each made and
// painted in turn. Throws PrintOutputError when the printer cannot be painted on (a PDF file
// that cannot be created, a printer gone away).
void PrintPages(QPrinter& printer, const TReport& report, PageGenerator& pages, int first,
                int last = -1);
// Every page to a PDF file.
void WritePdf(const QString& path, const TReport& report, PageGenerator& pages);

}  // namespace zorel
