// Reading a CSV file of the sources into named columns.
#include "mkdb/source_table.h"

#include <algorithm>

#include "data/file_util.h"

namespace zorel::mkdb {

std::optional<SourceTable> SourceTable::Read(const std::string& dir, const TableLayout& layout,
                                             Diagnostics& diag) {
  SourceTable t;
  t.file_ = WithTrailingSlash(dir) + layout.name;
  if (!FileExists(t.file_)) {
    if (layout.mustExist) diag.Error({t.file_}, "the file is missing");
    return std::nullopt;
  }
  const auto content = ReadWholeFile(t.file_);
  if (!content) {
    diag.Error({t.file_}, "the file cannot be read");
    return std::nullopt;
  }
  auto rows = ParseCsv(*content, t.file_, diag);
  if (!rows) return std::nullopt;
  if (rows->empty()) {
    diag.Error({t.file_, 1, 1}, "the header row naming the columns is missing");
    return std::nullopt;
  }
  bool ok = true;
  for (const auto& f : rows->front()) {
    const bool known =
        std::find(layout.columns.begin(), layout.columns.end(), f.text) != layout.columns.end();
    if (!known) {
      std::string list;
      for (const auto& c : layout.columns) list += (list.empty() ? "" : ", ") + c;
      diag.Error({t.file_, f.line, f.column},
                 "unknown column \"" + f.text + "\" (the columns are: " + list + ")");
      ok = false;
    } else if (t.Index(f.text) >= 0) {
      diag.Error({t.file_, f.line, f.column}, "column \"" + f.text + "\" appears twice");
      ok = false;
    }
    t.columns_.push_back(f.text);
  }
  for (const auto& r : layout.required) {
    if (!t.Has(r)) {
      diag.Error({t.file_, 1, 1}, "the required column \"" + r + "\" is missing");
      ok = false;
    }
  }
  if (!ok) return std::nullopt;
  t.rowsInFile_ = rows->size() - 1;
  for (std::size_t i = 1; i < rows->size(); ++i) {
    auto& row = (*rows)[i];
    if (row.size() != t.columns_.size()) {
      diag.Error({t.file_, row.front().line, row.front().column},
                 "the row has " + std::to_string(row.size()) + " fields, the header names " +
                     std::to_string(t.columns_.size()) + " columns");
      continue;
    }
    t.rows_.push_back(std::move(row));
  }
  return t;
}

int SourceTable::Index(std::string_view column) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i] == column) return static_cast<int>(i);
  }
  return -1;
}

const CsvField* SourceTable::Get(std::size_t row, std::string_view column) const {
  const int i = Index(column);
  return i < 0 ? nullptr : &rows_[row][static_cast<std::size_t>(i)];
}

Place SourceTable::RowPlace(std::size_t row) const {
  const CsvField& f = rows_[row].front();
  return {file_, f.line, f.column};
}

}  // namespace zorel::mkdb
