#include "export/list_export.h"

#include <algorithm>
#include <future>
#include <memory>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/field_table.h"
#include "export/csv_sink.h"
#include "export/export_target.h"
#include "export/xlsx_sink.h"

namespace zorel {
namespace {

// Records between two progress reports.
constexpr std::size_t kProgressStep = 4096;

std::unique_ptr<RowSink> MakeSink(const std::string& path, const ExportOptions& options) {
  if (options.format == ExportFormat::Csv) {
    return std::make_unique<CsvSink>(path, options.encoding, options.separator);
  }
  std::vector<bool> numeric;
  for (const int field : options.fields) {
    numeric.push_back(FieldOf(field).kind() == FieldKind::Number);
  }
  return std::make_unique<XlsxSink>(path, std::move(numeric));
}

// The cells of a block of records, row after row. Remarks are left empty here: their store
// reads and updates its own state, so only the exporting thread may ask it.
std::vector<std::string> GatherBlock(const Tdm& dm, const RecordList& list,
                                     const std::vector<int>& fields, std::size_t begin,
                                     std::size_t end) {
  std::vector<std::string> cells;
  cells.reserve((end - begin) * fields.size());
  for (std::size_t i = begin; i < end; ++i) {
    const RecordView view = dm.GetRecordView(list[i]);
    for (const int field : fields) {
      cells.push_back(field == kFieldRemark ? std::string()
                                            : PrintFieldText(dm, view, list[i], field));
    }
  }
  return cells;
}

}  // namespace

std::vector<int> DefaultExportFields(bool withRemarks) {
  std::vector<int> fields;
  for (int field = 0; field < kFieldCount; ++field) {
    if (field != kFieldRemark || withRemarks) fields.push_back(field);
  }
  return fields;
}

ExportOutcome ExportList(const Tdm& dm, const RecordList& list, const std::string& path,
                         const ExportOptions& options, const ExportProgress& progress) {
  for (const int field : options.fields) {
    if (!IsFieldCode(field)) throw BadInput("нет поля с номером " + std::to_string(field));
  }
  if (options.separator != ';' && options.separator != ',') {
    throw BadInput("разделитель должен быть \";\" или \",\"");
  }
  CheckExportTarget(dm.DbDir(), path);
  const std::unique_ptr<RowSink> sink = MakeSink(path, options);
  std::vector<std::string> cells;
  for (const int field : options.fields) cells.emplace_back(PrintFieldCaption(field));
  sink->Header(cells);
  // The next block's texts are gathered on a second thread while the sink writes this one:
  // reading the record fields and writing the file cost about the same.
  const auto gather = [&](std::size_t begin) {
    return std::async(std::launch::async, GatherBlock, std::cref(dm), std::cref(list),
                      std::cref(options.fields), begin,
                      std::min(begin + kProgressStep, list.size()));
  };
  std::future<std::vector<std::string>> next = gather(0);
  for (std::size_t begin = 0; begin < list.size(); begin += kProgressStep) {
    std::vector<std::string> block = next.get();
    // Told while no other thread reads the base, as the desktop lets events through here.
    if (progress && !progress(begin, list.size())) return ExportOutcome::Cancelled;
    if (begin + kProgressStep < list.size()) next = gather(begin + kProgressStep);
    const std::size_t rows = std::min(kProgressStep, list.size() - begin);
    for (std::size_t row = 0; row < rows; ++row) {
      for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = options.fields[c] == kFieldRemark
                       ? PrintFieldText(dm, list[begin + row], kFieldRemark)
                       : std::move(block[row * cells.size() + c]);
      }
      sink->Row(cells);
    }
  }
  sink->Finish();
  if (progress) progress(list.size(), list.size());
  return ExportOutcome::Written;
}

}  // namespace zorel
