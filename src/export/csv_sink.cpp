#include "export/csv_sink.h"

#include <cstring>

#include "data/text1251.h"

namespace zorel {

void AppendCsvCell(std::string& out, std::string_view cell, char separator) {
  if (cell.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

CsvSink::CsvSink(const std::string& path, CsvEncoding encoding, char separator)
    : file_(path), encoding_(encoding), separator_(separator) {
  if (encoding_ == CsvEncoding::Utf8Bom) file_.Append("\xEF\xBB\xBF");
}

void CsvSink::Header(const std::vector<std::string>& captions) { Line(captions, true); }

void CsvSink::Row(const std::vector<std::string>& cells) { Line(cells, false); }

void CsvSink::Line(const std::vector<std::string>& cells, bool utf8Given) {
  line_.clear();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line_ += separator_;
    const bool utf8Wanted = encoding_ == CsvEncoding::Utf8Bom;
    if (utf8Given == utf8Wanted) {
      AppendCsvCell(line_, cells[i], separator_);
    } else if (utf8Wanted) {
      AppendCsvCell(line_, ToUtf8(cells[i]), separator_);
    } else {
      AppendCsvCell(line_, FromUtf8(cells[i]).value_or(std::string()), separator_);
    }
  }
  line_ += "\r\n";
  file_.Append(line_);
}

void CsvSink::Finish() {
  if (!file_.Commit()) {
    throw ExportError("Не могу записать файл " + file_.Target() + ": " +
                      std::strerror(file_.Error()));
  }
}

}  // namespace zorel
