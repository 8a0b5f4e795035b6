#include "export/list_export.h"

#include <memory>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/field_table.h"
#include "data/record_details.h"
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
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i % kProgressStep == 0 && progress && !progress(i, list.size())) {
      return ExportOutcome::Cancelled;
    }
    const RecordView view = dm.GetRecordView(list[i]);
    for (std::size_t c = 0; c < options.fields.size(); ++c) {
      cells[c] = PrintFieldText(dm, view, list[i], options.fields[c]);
    }
    sink->Row(cells);
  }
  sink->Finish();
  if (progress) progress(list.size(), list.size());
  return ExportOutcome::Written;
}

}  // namespace zorel
