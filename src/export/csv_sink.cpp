#include "export/csv_sink.h"

#include <cstdint>
#include <cstring>

#include "data/text1251.h"

namespace zorel {

namespace {

// True when the cell holds the separator, a quote or a line break. Looks at eight bytes at a
// time: a million-record export scans some 600 MB of cells.
bool NeedsQuotes(std::string_view cell, char separator) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighs = 0x8080808080808080u;
  const auto holds = [](std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return ((x - kOnes) & ~x & kHighs) != 0;
  };
  std::size_t i = 0;
  for (; i + 8 <= cell.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, cell.data() + i, 8);
    if (holds(word, separator) || holds(word, '"') || holds(word, '\r') || holds(word, '\n')) {
      return true;
    }
  }
  for (; i < cell.size(); ++i) {
    const char c = cell[i];
    if (c == separator || c == '"' || c == '\r' || c == '\n') return true;
  }
  return false;
}

}  // namespace

void AppendCsvCell(std::string& out, std::string_view cell, char separator) {
  if (!NeedsQuotes(cell, separator)) {
    out += cell;
    return;
  }
  out += '"';
  for (std::size_t quote; (quote = cell.find('"')) != std::string_view::npos;) {
    out.append(cell.data(), quote + 1);
    out += '"';
    cell.remove_prefix(quote + 1);
  }
  out += cell;
  out += '"';
}

CsvSink::CsvSink(const std::string& path, CsvEncoding encoding, char separator)
    : file_(path), encoding_(encoding), separator_(separator) {
  if (encoding_ == CsvEncoding::Utf8Bom) file_.Append("\xEF\xBB\xBF");
}

void CsvSink::Header(const std::vector<std::string>& captions) { Line(captions, true); }

void CsvSink::Row(std::span<const std::string> cells) { Line(cells, false); }

void CsvSink::Line(std::span<const std::string> cells, bool utf8Given) {
  line_.clear();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line_ += separator_;
    const bool utf8Wanted = encoding_ == CsvEncoding::Utf8Bom;
    if (utf8Given == utf8Wanted) {
      AppendCsvCell(line_, cells[i], separator_);
    } else if (utf8Wanted) {
      utf8_.clear();
      AppendToUtf8(utf8_, cells[i]);
      AppendCsvCell(line_, utf8_, separator_);
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
