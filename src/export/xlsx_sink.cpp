#include "export/xlsx_sink.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "data/replacement_file.h"
#include "data/text1251.h"
#include "export/list_export.h"

namespace zorel {
namespace {

// A cell holds at most this many characters; longer texts are cut.
constexpr std::size_t kCellChars = 32767;
// Column widths in characters: at least the caption's, at most a screenful.
constexpr std::size_t kMaxWidth = 60;

std::size_t CodePoints(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Text fit for a cell: line breaks as a single LF, other control characters (which XML cannot
// carry) as blanks, cut to the cell's limit at a character boundary. Most texts are fit as
// they stand and are left alone.
void FitForCell(std::string& utf8) {
  const bool fits = utf8.size() <= kCellChars && std::none_of(utf8.begin(), utf8.end(), [](char c) {
                      return static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t';
                    });
  if (fits) return;
  std::string out;
  out.reserve(utf8.size());
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r') {
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
      out += '\n';
    } else if (c < 0x20 && c != '\n' && c != '\t') {
      out += ' ';
    } else {
      if ((c & 0xC0) != 0x80 && ++chars > kCellChars) break;
      out += static_cast<char>(c);
      continue;
    }
    if (++chars > kCellChars) break;
  }
  utf8 = std::move(out);
}

// The widest line of a text, in characters.
std::size_t TextWidth(std::string_view utf8) {
  std::size_t widest = 0;
  for (std::size_t start = 0; start <= utf8.size();) {
    const std::size_t end = std::min(utf8.find('\n', start), utf8.size());
    widest = std::max(widest, CodePoints(utf8.substr(start, end - start)));
    start = end + 1;
  }
  return widest;
}

bool WholeNumber(const std::string& text, double& value) {
  long long number = 0;
  const char* end = text.data() + text.size();
  const auto [p, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || p != end) return false;
  value = static_cast<double>(number);
  return true;
}

}  // namespace

XlsxSink::XlsxSink(const std::string& path, std::vector<bool> numeric)
    : path_(path), numeric_(std::move(numeric)), widths_(numeric_.size(), 0) {
  const std::filesystem::path target(path);
  const std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
  std::string pattern = dir + "/.zorel-export-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw ExportError("Не могу записать файл " + path + ": " + std::strerror(errno));
  }
  folder_ = pattern;
  work_ = folder_ + "/list.xlsx";
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = folder_.data();
  options.use_zip64 = LXW_TRUE;
  book_ = workbook_new_opt(work_.c_str(), &options);
  if (book_ == nullptr) throw ExportError("Не могу записать файл " + path);
  bold_ = workbook_add_format(book_);
  format_set_bold(bold_);
}

XlsxSink::~XlsxSink() {
  if (book_ != nullptr) lxw_workbook_free(book_);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void XlsxSink::Check(int error) const {
  if (error != LXW_NO_ERROR) {
    throw ExportError("Не могу записать файл " + path_ + ": " +
                      lxw_strerror(static_cast<lxw_error>(error)));
  }
}

void XlsxSink::NewSheet() {
  const std::string name =
      sheets_.empty() ? "Список" : "Список (" + std::to_string(sheets_.size() + 1) + ")";
  sheet_ = workbook_add_worksheet(book_, name.c_str());
  if (sheet_ == nullptr) Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
  sheets_.push_back(sheet_);
  worksheet_freeze_panes(sheet_, 1, 0);
  row_ = 0;
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    Text(static_cast<int>(i), captions_[i], bold_);
  }
  row_ = 1;
}

void XlsxSink::Text(int column, std::string& utf8, lxw_format* format) {
  FitForCell(utf8);
  auto& width = widths_[static_cast<std::size_t>(column)];
  width = std::max(width, TextWidth(utf8));
  Check(worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(column), utf8.c_str(), format));
}

void XlsxSink::Header(const std::vector<std::string>& captions) {
  captions_ = captions;
  NewSheet();
}

void XlsxSink::Row(std::span<const std::string> cells) {
  if (row_ >= LXW_ROW_MAX) NewSheet();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].empty()) continue;
    const auto column = static_cast<lxw_col_t>(i);
    double number = 0;
    if (numeric_[i] && WholeNumber(cells[i], number)) {
      widths_[i] = std::max(widths_[i], cells[i].size());
      Check(worksheet_write_number(sheet_, row_, column, number, nullptr));
    } else {
      utf8_.clear();
      AppendToUtf8(utf8_, cells[i]);
      Text(static_cast<int>(i), utf8_, nullptr);
    }
  }
  ++row_;
}

void XlsxSink::FitColumns() {
  for (lxw_worksheet* sheet : sheets_) {
    for (std::size_t i = 0; i < widths_.size(); ++i) {
      const double width = static_cast<double>(std::min(widths_[i], kMaxWidth) + 2);
      Check(worksheet_set_column(sheet, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i), width,
                                 nullptr));
    }
  }
}

void XlsxSink::Finish() {
  FitColumns();
  lxw_workbook* book = book_;
  book_ = nullptr;
  Check(workbook_close(book));
  const int in = ::open(work_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) throw ExportError("Не могу записать файл " + path_ + ": " + std::strerror(errno));
  ReplacementFile out(path_);
  std::string buffer(1 << 20, '\0');
  ssize_t n = 0;
  while ((n = ::read(in, buffer.data(), buffer.size())) > 0) {
    out.Append(buffer.data(), static_cast<std::size_t>(n));
  }
  const int readError = n < 0 ? errno : 0;
  ::close(in);
  if (readError != 0 || !out.Commit()) {
    throw ExportError("Не могу записать файл " + path_ + ": " +
                      std::strerror(readError != 0 ? readError : out.Error()));
  }
}

}  // namespace zorel
