// CsvSink: rows as CSV (RFC 4180: a cell holding the separator, a quote or a line break is
// quoted, its quotes doubled; lines end in CR LF), in UTF-8 with a byte-order mark or in
// Windows-1251, streamed into a ReplacementFile.
#pragma once

#include <string>
#include <string_view>

#include "data/replacement_file.h"
#include "export/list_export.h"
#include "export/row_sink.h"

namespace zorel {

// Appends one cell, quoted when it must be.
void AppendCsvCell(std::string& out, std::string_view cell, char separator);

class CsvSink : public RowSink {
 public:
  CsvSink(const std::string& path, CsvEncoding encoding, char separator);
  void Header(const std::vector<std::string>& captions) override;
  void Row(std::span<const std::string> cells) override;
  void Finish() override;

 private:
  void Line(std::span<const std::string> cells, bool utf8Given);

  ReplacementFile file_;
  CsvEncoding encoding_;
  char separator_;
  std::string line_;
  std::string utf8_;  // a cell's UTF-8 form, kept to reuse its buffer
};

}  // namespace zorel
