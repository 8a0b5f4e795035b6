// Output of zorel-cli: buffered writes to standard output, record number lines, and the
// record fields as JSON objects and RFC 4180 CSV rows. Data texts arrive in Windows-1251
// (as the core gives them) and leave in UTF-8.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "data/data_module.h"
#include "data/record_details.h"
#include "data/record_list.h"

namespace zorel::cli {

// Standard output cannot be written (a closed pipe, a full disk).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sets up a large output buffer; call before anything is written.
void StartOutput();
// Throws OutputError when the bytes cannot be written.
void Emit(std::string_view bytes);
// One decimal record number per line, LF ended.
void EmitRecords(const RecordList& records);
// Flushes standard output; throws OutputError when anything could not be written.
void FinishOutput();

// A JSON string literal of UTF-8 text, control characters escaped.
void AppendJsonString(std::string& out, std::string_view utf8);

// The record's fields as one JSON object on one line, without a line end: "record" a number,
// "has_advert" a boolean, every other field a string.
void AppendDetailsJson(std::string& out, const RecordDetails& details);
// The header row and one record's row, each ended by CR LF.
void AppendCsvHeader(std::string& out);
void AppendDetailsCsv(std::string& out, const RecordDetails& details);

}  // namespace zorel::cli
