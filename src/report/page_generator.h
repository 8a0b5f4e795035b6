// Page generation: the detail band once per record that the report's OnNeedData allows, laid
// top to bottom inside the margins, across the page's columns, a new column or page when the
// next band does not fit. A band taller than the printable height gets a page of its own and
// is clipped there. Each band keeps only the texts its labels print, so ten thousand pages
// take a few megabytes; the painter draws them (page_painter.h).
//
// Generation runs in steps so that a preview can show the first pages while the rest are
// still being made. The generator calls the report's hooks and must not outlive the report.
#pragma once

#include <QString>
#include <vector>

#include "report/report.h"

namespace zorel {

struct PlacedBand {
  float left = 0, top = 0;     // tenths of a millimetre from the paper's corner
  std::vector<QString> texts;  // one per label of the band, in the band's order
};

struct GeneratedPage {
  std::vector<PlacedBand> bands;
};

class PageGenerator {
 public:
  // expectedBands (0 when unknown) lets Progress tell a percentage.
  explicit PageGenerator(TReport& report, int expectedBands = 0);

  // Runs BeforePrint; false when it cancels the run (no pages then).
  bool Start();
  // Makes bands until one more page is complete or the data ends; false once the run is over.
  bool Step();
  // Start, then Step until the end.
  void RunToEnd();

  bool Finished() const { return finished_; }
  // Complete pages, and at the end the last one too; an empty run has one empty page.
  int PageCount() const;
  const GeneratedPage& Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
  // 0 to 100 while bands are made against the expected count; 100 at the end.
  int Progress() const;

 private:
  bool NextBand(PlacedBand& band);
  void Place(PlacedBand band);

  TReport& report_;
  int expectedBands_;
  int bandsMade_ = 0;
  bool started_ = false;
  bool finished_ = false;
  std::vector<GeneratedPage> pages_;
  int column_ = 0;
  double y_ = 0;  // where the next band would start, tenths from the paper's top
};

}  // namespace zorel
