// RFC 4180 reading with places, and writing.
#include "mkdb/csv.h"

namespace zorel::mkdb {
namespace {

bool IsLeadByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0';
  }
  bool AtLineEnd() const { return Peek() == '\n' || (Peek() == '\r' && Peek(1) == '\n'); }
  void Advance() {
    const char c = s_[pos_++];
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if (IsLeadByte(c)) {
      ++column_;
    }
  }
  int line() const { return line_; }
  int column() const { return column_; }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
};

// Reads one field at the cursor; false after reporting a fault.
bool ReadField(Cursor& c, CsvField& f, const std::string& file, Diagnostics& diag) {
  f.line = c.line();
  f.column = c.column();
  if (c.Peek() != '"') {
    while (!c.AtEnd() && c.Peek() != ',' && !c.AtLineEnd()) {
      if (c.Peek() == '"') {
        diag.Error({file, c.line(), c.column()},
                   "a quote inside a field that does not start with one (enclose the field in "
                   "quotes and double the quote)");
        return false;
      }
      f.text.push_back(c.Peek());
      c.Advance();
    }
    return true;
  }
  f.quoted = true;
  c.Advance();
  for (;;) {
    if (c.AtEnd()) {
      diag.Error({file, f.line, f.column}, "the quoted field is not closed");
      return false;
    }
    if (c.Peek() == '"') {
      c.Advance();
      if (c.Peek() != '"') break;
    }
    f.text.push_back(c.Peek());
    c.Advance();
  }
  if (!c.AtEnd() && c.Peek() != ',' && !c.AtLineEnd()) {
    diag.Error({file, c.line(), c.column()}, "text after the closing quote of a field");
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<CsvRow>> ParseCsv(std::string_view content, const std::string& file,
                                            Diagnostics& diag) {
  std::vector<CsvRow> rows;
  Cursor c(content);
  while (!c.AtEnd()) {
    CsvRow row;
    for (;;) {
      CsvField f;
      if (!ReadField(c, f, file, diag)) return std::nullopt;
      row.push_back(std::move(f));
      if (c.Peek() == ',' && !c.AtEnd()) {
        c.Advance();
        continue;
      }
      if (c.Peek() == '\r') c.Advance();
      if (!c.AtEnd()) c.Advance();  // the LF
      break;
    }
    const bool blank = row.size() == 1 && !row[0].quoted && row[0].text.empty();
    if (!blank) rows.push_back(std::move(row));
  }
  return rows;
}

Place PlaceIn(const CsvField& field, std::size_t offset, const std::string& file) {
  Place p{file, field.line, field.column + (field.quoted ? 1 : 0)};
  for (std::size_t i = 0; i < offset && i < field.text.size(); ++i) {
    const char ch = field.text[i];
    if (ch == '\n') {
      ++p.line;
      p.column = 1;
    } else if (IsLeadByte(ch)) {
      ++p.column;
    }
  }
  return p;
}

void AppendCsvField(std::string& out, std::string_view value) {
  const bool edgeBlank = !value.empty() && (value.front() == ' ' || value.back() == ' ' ||
                                            value.front() == '\t' || value.back() == '\t');
  if (!edgeBlank && value.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += value;
    return;
  }
  out.push_back('"');
  for (char ch : value) {
    if (ch == '"') out.push_back('"');
    out.push_back(ch);
  }
  out.push_back('"');
}

void AppendCsvRow(std::string& out, const std::vector<std::string_view>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.push_back(',');
    AppendCsvField(out, fields[i]);
  }
  out.push_back('\n');
}

}  // namespace zorel::mkdb
