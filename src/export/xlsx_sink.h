// XlsxSink: rows as an XLSX workbook made by libxlsxwriter in its constant-memory mode (each
// row goes to disk as it is finished): a bold header row frozen at the top, columns as wide as
// their longest text (within bounds), numbers as numbers and everything else as text. A list
// longer than a sheet goes on over further sheets, each with its header.
//
// The library writes to a name of its own choosing: it gets a fresh private folder beside the
// target (nobody else can plant anything there), and the finished workbook is then copied
// into a ReplacementFile, so the target is replaced whole or not at all.
#pragma once

#include <string>
#include <vector>

#include "export/row_sink.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace zorel {

class XlsxSink : public RowSink {
 public:
  // numeric[i]: column i holds numbers where its text is one.
  XlsxSink(const std::string& path, std::vector<bool> numeric);
  ~XlsxSink() override;
  XlsxSink(const XlsxSink&) = delete;
  XlsxSink& operator=(const XlsxSink&) = delete;

  void Header(const std::vector<std::string>& captions) override;
  void Row(std::span<const std::string> cells) override;
  void Finish() override;

 private:
  void NewSheet();
  void Check(int error) const;
  // Writes a text cell; fits the text for a cell in place first.
  void Text(int column, std::string& utf8, lxw_format* format);
  void FitColumns();

  std::string path_, folder_, work_;
  std::vector<bool> numeric_;
  std::vector<std::string> captions_;
  std::vector<std::size_t> widths_;
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* bold_ = nullptr;
  std::vector<lxw_worksheet*> sheets_;
  unsigned row_ = 0;
  std::string utf8_;  // a cell's UTF-8 form, kept to reuse its buffer
};

}  // namespace zorel
