// Printing the GUI benchmark's table.
#include "report.h"

#include <algorithm>
#include <iomanip>

namespace zorel::guibench {
namespace {

// The table's texts are ASCII, so byte counts are widths.
void Cell(std::ostream& out, const std::string& text, std::size_t width) {
  out << std::left << std::setw(static_cast<int>(width)) << text << "  ";
}

}  // namespace

void PrintReport(std::ostream& out, const Report& report) {
  std::size_t measureWidth = 7, valueWidth = 6, targetWidth = 6;
  for (const Row& row : report.rows) {
    measureWidth = std::max(measureWidth, row.measure.size());
    valueWidth = std::max(valueWidth, row.value.size());
    targetWidth = std::max(targetWidth, row.target.size());
  }
  out << '\n';
  Cell(out, "measure", measureWidth);
  Cell(out, "median", valueWidth);
  Cell(out, "target", targetWidth);
  out << "met\n";
  out << std::string(measureWidth + valueWidth + targetWidth + 6 + 3, '-') << '\n';
  for (const Row& row : report.rows) {
    Cell(out, row.measure, measureWidth);
    Cell(out, row.value, valueWidth);
    Cell(out, row.target, targetWidth);
    out << (row.met ? "yes" : "NO") << '\n';
  }
  if (!report.notes.empty()) {
    out << "\nnotes:\n";
    for (const std::string& note : report.notes) out << "  " << note << '\n';
  }
  out.flush();
}

}  // namespace zorel::guibench
