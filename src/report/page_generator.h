// Page generation: the detail band once per record that the report's OnNeedData allows, laid
// top to bottom inside the margins, across the page's columns, a new column or page when the
// next band does not fit. A band taller than the printable height gets a page of its own and
// is clipped there. Every page holds the same number of bands, so page n is made again from
// the data whenever it is wanted: the run is started over (BeforePrint) and the bands before
// the page are skipped with OnNeedData alone, without their texts. Nothing is kept of pages
// already made but a few around the last one asked for, so memory does not grow with the
// number of records or pages.
//
// The page count is found by running ahead through the data in steps, so that a preview can
// show the first pages while the rest are still being counted. The generator calls the
// report's hooks and must not outlive the report.
#pragma once

#include <QString>
#include <map>
#include <stdexcept>
#include <vector>

#include "report/report.h"

namespace zorel {

// A band with more elements than can sensibly print is refused before a run.
inline constexpr std::size_t kMaxBandElements = 10000;

class FormSizeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws FormSizeError when the report's band holds more than kMaxBandElements elements.
void CheckBandSize(const TReport& report);

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

  // Checks the band's size (FormSizeError) and runs BeforePrint; false when it cancels the
  // run (no pages then).
  bool Start();
  // Counts bands until one more page is known to be complete or the data ends; false once
  // the count is final.
  bool Step();
  // Start, then Step until the end.
  void RunToEnd();

  bool Finished() const { return ended_; }
  // Complete pages counted so far, and at the end the last one too; an empty run has one
  // empty page, a cancelled one none.
  int PageCount() const;
  // 0 to 100 while bands are counted against the expected count; 100 at the end.
  int Progress() const;

  // Makes page index (from 0) from the data; false past the last page or for a cancelled
  // run. Pages asked for in order cost one pass through the data.
  bool MakePage(int index, GeneratedPage& page);
  // The page from a window of pages kept around the last one asked for; null past the end.
  // The pointer is valid until the next call.
  const GeneratedPage* Page(int index);

 private:
  bool Restart();
  // Moves the data one band on, making its texts when band is given; false at the end.
  bool Advance(PlacedBand* band);
  bool SkipTo(long long position);

  TReport& report_;
  long long expectedBands_;
  bool started_ = false;
  bool cancelled_ = false;
  bool ended_ = false;
  long long cursor_ = 0;  // bands taken since the last BeforePrint
  long long known_ = 0;   // bands known to exist; all of them once ended_
  int rows_ = 1;          // bands in one column
  int perPage_ = 1;
  std::map<int, GeneratedPage> window_;
};

}  // namespace zorel
