// One CSV file of the sources read as a table: a header row naming the columns, then one row
// per entry. Columns are found by name, in any order. An unknown or repeated column name, a
// missing required column and a row whose number of fields differs from the header's are
// reported; such rows are dropped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mkdb/csv.h"
#include "mkdb/diagnostics.h"

namespace zorel::mkdb {

struct TableLayout {
  const char* name;  // file name inside the sources folder
  std::vector<std::string> columns;
  std::vector<std::string> required;
  bool mustExist = false;
};

class SourceTable {
 public:
  // Empty optional when the file is missing (a fault only when it must exist) or faulty.
  static std::optional<SourceTable> Read(const std::string& dir, const TableLayout& layout,
                                         Diagnostics& diag);

  const std::string& file() const { return file_; }
  std::size_t size() const { return rows_.size(); }
  // Data rows of the file, the dropped ones included.
  std::size_t rowsInFile() const { return rowsInFile_; }
  bool Has(std::string_view column) const { return Index(column) >= 0; }
  // The row's field in that column, or null when the table has no such column.
  const CsvField* Get(std::size_t row, std::string_view column) const;
  // Where the row starts.
  Place RowPlace(std::size_t row) const;

 private:
  int Index(std::string_view column) const;

  std::string file_;
  std::vector<std::string> columns_;
  std::vector<CsvRow> rows_;
  std::size_t rowsInFile_ = 0;
};

}  // namespace zorel::mkdb
