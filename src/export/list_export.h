// Lists out to spreadsheets: the records of a list, in list order, one row each, with the
// chosen print fields as columns (the texts printing gives them) under a header row of the
// fields' captions. XLSX goes through libxlsxwriter in its constant-memory mode; CSV is UTF-8
// with a byte-order mark or Windows-1251, quoted as RFC 4180 says.
//
// The file is written through ReplacementFile (an exclusive temporary beside it, renamed over
// it when whole); a file of the base, or a name in the base's folder, is refused.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/record_list.h"

namespace zorel {

class Tdm;

// The file cannot be written, or may not be: the message (UTF-8) says which and why.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ExportFormat { Xlsx, Csv };
enum class CsvEncoding { Utf8Bom, Cp1251 };

// The print fields a list goes out with unless the user picks others: every field of the
// record but the remark, which comes only on request.
std::vector<int> DefaultExportFields(bool withRemarks = false);

struct ExportOptions {
  ExportFormat format = ExportFormat::Xlsx;
  std::vector<int> fields = DefaultExportFields();  // print fields 0..16, in column order
  CsvEncoding encoding = CsvEncoding::Utf8Bom;
  char separator = ';';  // ';' or ','
};

// Told after each block of records (and once at the end) how many are written; false cancels
// the export, which then leaves no file behind and the old one untouched.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

enum class ExportOutcome { Written, Cancelled };

// Throws ExportError; a field number outside 0..16 is BadInput.
ExportOutcome ExportList(const Tdm& dm, const RecordList& list, const std::string& path,
                         const ExportOptions& options, const ExportProgress& progress = {});

}  // namespace zorel
