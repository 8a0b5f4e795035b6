// Taking the whole base out: the list export to XLSX and to CSV, and the list summary, each
// against a fixed time target rather than a peer; and how far the process's peak resident
// memory rises while the XLSX file is written (the library's constant-memory mode).
#include <malloc.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "common/process_memory.h"
#include "context.h"
#include "data/field_table.h"
#include "data/list_summary.h"
#include "data/record_details.h"
#include "data/text1251.h"
#include "export/list_export.h"

namespace zorel::bench {
namespace {

double MedianMs(int runs, const std::function<std::size_t()>& run) {
  return MeasureRounds({{{}, run}}, runs)[0].medianMs;
}

// The floor under the XLSX figure: the spreadsheet library alone, in the same mode, writing the
// same cells (a run that writes them less a run that only prepares them).
double XlsxLibraryAloneMs(Context& c, const std::string& path) {
  const std::vector<int> fields = DefaultExportFields();
  const auto pass = [&](lxw_worksheet* sheet) {
    std::string utf8;
    for (std::size_t r = 0; r < c.wholeBase.size() && r + 1 < LXW_ROW_MAX; ++r) {
      const RecordView view = c.dm.GetRecordView(c.wholeBase[r]);
      for (std::size_t f = 0; f < fields.size(); ++f) {
        utf8 = ToUtf8(PrintFieldText(c.dm, view, c.wholeBase[r], fields[f]));
        if (sheet != nullptr && !utf8.empty()) {
          worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(f),
                                 utf8.c_str(), nullptr);
        }
      }
    }
  };
  // Timed once each, without a warm-up: the export row before has warmed the base.
  const auto timeMs = [](const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
  };
  const double prepareMs = timeMs([&] { pass(nullptr); });
  const double writeMs = timeMs([&] {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    pass(workbook_add_worksheet(book, nullptr));
    workbook_close(book);
  });
  return writeMs - prepareMs;
}

}  // namespace

ListOutFigures ListOutTimes(Context& c) {
  const std::string n = std::to_string(c.wholeBase.size());
  const std::string dir = c.options.dataDir + "/list-out";
  std::filesystem::create_directories(dir);
  ExportOptions csv;
  csv.format = ExportFormat::Csv;
  const auto exportTo = [&](const std::string& name, const ExportOptions& options) {
    ExportList(c.dm, c.wholeBase, dir + "/" + name, options);
    return c.wholeBase.size();
  };
  ListOutFigures f;
  malloc_trim(0);
  ResetPeakResident();
  const std::int64_t before = ResidentBytes();
  // A single timed run: the file takes seconds, and its warm-up run is another.
  f.times.push_back({"export " + n + " records to XLSX",
                     MedianMs(1, [&] { return exportTo("list.xlsx", ExportOptions{}); }),
                     kXlsxExportMs});
  const std::int64_t peak = PeakResidentBytes();
  f.memory.push_back({"  peak resident growth while writing XLSX",
                      static_cast<std::size_t>(std::max<std::int64_t>(peak - before, 0)),
                      kXlsxExportMemory});
  f.times.push_back({"  the spreadsheet library alone, the same cells",
                     XlsxLibraryAloneMs(c, dir + "/alone.xlsx"), 0});
  f.times.push_back({"export " + n + " records to CSV",
                     MedianMs(c.options.runs, [&] { return exportTo("list.csv", csv); }),
                     kCsvExportMs});
  f.times.push_back({"summary of " + n + " records (every axis)",
                     MedianMs(c.options.runs,
                              [&] {
                                std::size_t bars = 0;
                                for (const SummaryAxis axis : kAllSummaryAxes) {
                                  bars += SummarizeList(c.dm, c.wholeBase, axis).size();
                                }
                                return bars;
                              }),
                     kSummaryMs});
  std::filesystem::remove_all(dir);
  return f;
}

}  // namespace zorel::bench
