// Printing a report run with the engine's progress window: the pages are made, then printed,
// while a window modal to the parent says how far it got and offers to cancel. A cancel ends
// the run at once; nothing more goes to the printer after it.
#pragma once

class QPrinter;
class QWidget;

namespace zorel {

class TReport;
struct UserFileRules;

// expectedBands (0 when unknown) drives the bar while the pages are made; a printer set to print
// into a file writes it under fileRules. False when the user cancelled; throws PrintOutputError
// when the printer cannot be painted on or the file is refused or cannot be written.
bool PrintWithProgress(QPrinter& printer, const UserFileRules& fileRules, TReport& report,
                       int expectedBands, QWidget* parent);

}  // namespace zorel
