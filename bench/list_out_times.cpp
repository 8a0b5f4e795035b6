// Taking the whole base out: the list export to XLSX and to CSV, and the list summary, each
// against a fixed time target rather than a peer; and how far the process's peak resident
// memory rises while the XLSX file is written (the library's constant-memory mode).
#include <malloc.h>

#include <algorithm>
#include <filesystem>

#include "common/process_memory.h"
#include "context.h"
#include "data/list_summary.h"
#include "export/list_export.h"

namespace zorel::bench {
namespace {

double MedianMs(int runs, const std::function<std::size_t()>& run) {
  return MeasureRounds({{{}, run}}, runs)[0].medianMs;
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
