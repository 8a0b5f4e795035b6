// Values of source fields turned into what the base stores, each fault reported at its place
// with the column's name: texts in Windows-1251 (a line break inside a field is stored as
// CR LF, whatever the source file uses), whole numbers within a range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mkdb/csv.h"
#include "mkdb/diagnostics.h"

namespace zorel::mkdb {

class FieldValues {
 public:
  FieldValues(const std::string& file, Diagnostics& diag) : file_(file), diag_(diag) {}

  // Empty optional after reporting a character without a Windows-1251 form, a zero character
  // or bytes that are not UTF-8.
  std::optional<std::string> Text(const CsvField& f, std::string_view column);
  // Text that must fit `maxBytes` bytes of the base.
  std::optional<std::string> Text(const CsvField& f, std::string_view column, std::size_t maxBytes);
  // A whole decimal number from lo to hi, blanks around it allowed; an empty field gives
  // `ifEmpty` when that is set and is a fault otherwise.
  std::optional<std::int64_t> Integer(const CsvField& f, std::string_view column, std::int64_t lo,
                                      std::int64_t hi, std::optional<std::int64_t> ifEmpty);

  void Error(const CsvField& f, std::size_t offset, std::string_view column,
             const std::string& message);

 private:
  const std::string& file_;
  Diagnostics& diag_;
};

// The value without leading and trailing blanks and tabs.
std::string_view TrimField(std::string_view s);

}  // namespace zorel::mkdb
