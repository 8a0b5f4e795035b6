// Comma-separated values as RFC 4180 has them: fields separated by commas, records by line
// breaks (CR LF or LF), a field enclosed in double quotes may hold commas, line breaks and
// doubled quotes. A UTF-8 byte order mark at the start is skipped; blank lines are skipped.
// The reader keeps where each field starts so that faults can name the place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mkdb/diagnostics.h"

namespace zorel::mkdb {

struct CsvField {
  std::string text;  // the value, quotes removed
  int line = 0;      // where the field starts (its opening quote, when quoted)
  int column = 0;
  bool quoted = false;
};
using CsvRow = std::vector<CsvField>;

// Every record of the content; empty optional after reporting a syntax fault (an unterminated
// quoted field, text after a closing quote, a quote inside an unquoted field).
std::optional<std::vector<CsvRow>> ParseCsv(std::string_view content, const std::string& file,
                                            Diagnostics& diag);

// The place of the character at byte offset `offset` of the field's value.
Place PlaceIn(const CsvField& field, std::size_t offset, const std::string& file);

// Appends one field, quoted when it holds a comma, a quote, a line break or edge blanks.
void AppendCsvField(std::string& out, std::string_view value);
// Appends the fields separated by commas and ended by LF.
void AppendCsvRow(std::string& out, const std::vector<std::string_view>& fields);

}  // namespace zorel::mkdb
