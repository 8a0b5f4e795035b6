// The data loop that feeds a print form from a list of records. In list mode the run prints
// the positions FirstIndex to LastIndex of the list, in single mode the one position
// CurrentIndex; each TRepPrnLabel prints its record's field by the letter of its name ("a"
// the name ... "q" the products), a user field ("r") its own caption.
//
// A range beyond the list is cut to the list, and single mode on a position outside the list
// is refused before the run (PrintRangeError), so no run ever reads past the list.
#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

#include "data/record_list.h"
#include "report/report.h"

namespace zorel {

class Tdm;

enum class PrintMode { Single = 0, List = 1 };

class PrintRangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ListPrintLoop {
 public:
  // The loop keeps references to both; they must outlive it.
  ListPrintLoop(const Tdm& dm, const RecordList& list) : dm_(dm), list_(list) {}

  PrintMode Mode = PrintMode::List;
  std::int64_t CurrentIndex = 0;  // wide, so that a refusal names any position as given

  // The whole list.
  void SetAllRecords();
  // Positions from and to counted from 1, inclusive, as the range dialog gives them; the part
  // beyond the list is dropped.
  void SetRange(std::int64_t from, std::int64_t to);
  std::int32_t FirstIndex() const { return first_; }
  std::int32_t LastIndex() const { return last_; }
  std::int32_t PrintIndex() const { return printIndex_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(list_.size()); }

  // Throws PrintRangeError when single mode has no record to print.
  void Check() const;
  // The number of bands a run prints.
  int ExpectedBands() const;

  // Installs BeforePrint, OnNeedData and the label text supplier on the report; the report
  // must not run after the loop is gone.
  void Attach(TReport& report);

  // The text of print field 0..17 for the record at a list position.
  QString FieldText(std::int32_t position, int field) const;
  void SupplyLabelText(const TRepLabel& label, QString& value) const;
  // What a label prints for the record at a list position: its field's text by the letter of
  // its name, a user field (or any other label) its caption.
  QString LabelText(const TRepLabel& label, std::int32_t position) const;

 private:
  bool InList(std::int64_t position) const {
    return position >= 0 && position < static_cast<std::int64_t>(list_.size());
  }

  const Tdm& dm_;
  const RecordList& list_;
  std::int32_t first_ = 0;
  std::int32_t last_ = -1;
  std::int32_t printIndex_ = -1;
};

}  // namespace zorel
