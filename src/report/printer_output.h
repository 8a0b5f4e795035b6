// Generated pages onto a QPrinter (a system printer, through CUPS where present) or into a PDF
// file. The page takes the report's page size and orientation without margins, as the report
// keeps its own; each page is painted by PaintPage.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "data/replacement_file.h"
#include "report/page_generator.h"
#include "report/report.h"

class QPrinter;

namespace zorel {

class PrintOutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Asked before each page (by its 0-based index); false stops the run.
using PageCheck = std::function<bool(int page)>;

// Every page of a run, each made and painted in turn. A printer set to print into a file (the print
// dialog's choice) writes a PDF under fileRules, as WritePdf does. False when beforePage stopped
// the run (a file is then left as it was). Throws PrintOutputError when the printer cannot be
// painted on (a printer gone away) or the file is refused or cannot be written.
bool PrintPages(QPrinter& printer, const UserFileRules& fileRules, const TReport& report,
                PageGenerator& pages, const PageCheck& beforePage = {});

// What a PDF may not replace: the files of the open base (anything in its folder) and the form
// being printed (empty when it has no file). Like every output, a link at the PDF's name is
// replaced, not followed.
UserFileRules PdfRules(const std::string& dbDir, const std::string& formPath);
// Every page into a PDF file (the path's bytes as they are), written like every file of ours:
// through a new temporary beside it, checked and renamed over it. Throws PrintOutputError with
// the reason when the file is refused or cannot be written; the old file then stays whole.
// False, and the old file whole, when beforePage stopped the run.
bool WritePdf(const std::string& path, const UserFileRules& rules, const TReport& report,
              PageGenerator& pages, const PageCheck& beforePage = {});

}  // namespace zorel
