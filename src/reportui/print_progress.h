// Printing a report run with the engine's progress window: the pages are made, then printed,
// while a window modal to the parent says how far it got and offers to cancel. A cancel ends
// the run at once; nothing more goes to the printer after it.
#pragma once

class QPrinter;
class QWidget;

namespace zorel {

class TReport;

// expectedBands (0 when unknown) drives the bar while the pages are made. False when the user
// cancelled; throws PrintOutputError when the printer cannot be painted on.
bool PrintWithProgress(QPrinter& printer, TReport& report, int expectedBands, QWidget* parent);

}  // namespace zorel
