#include "export/list_export.h"

#include <algorithm>
#include <future>
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

// Fills the cells of a block of records, row after row, reusing the block's strings. Remarks
// are left empty here: their store reads and updates its own state, so only the exporting
// thread may ask it.
void GatherBlock(const Tdm& dm, const RecordList& list, const std::vector<int>& fields,
                 std::size_t begin, std::size_t end, std::vector<std::string>& cells) {
  cells.resize((end - begin) * fields.size());
  std::size_t k = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const RecordView view = dm.GetRecordView(list[i]);
    for (const int field : fields) {
      if (field == kFieldRemark) {
        cells[k++].clear();
      } else {
        cells[k++] = PrintFieldText(dm, view, list[i], field);
      }
    }
  }
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
  std::vector<std::string> captions;
  for (const int field : options.fields) captions.emplace_back(PrintFieldCaption(field));
  sink->Header(captions);
  // The next block's texts are gathered on a second thread while the sink writes this one:
  // reading the record fields and writing the file cost about the same. The two blocks are
  // reused, so that the strings are made and freed on the gathering thread.
  const std::size_t width = options.fields.size();
  std::vector<std::string> blocks[2];
  const auto gather = [&](std::size_t begin) {
    return std::async(std::launch::async, GatherBlock, std::cref(dm), std::cref(list),
                      std::cref(options.fields), begin,
                      std::min(begin + kProgressStep, list.size()),
                      std::ref(blocks[begin / kProgressStep % 2]));
  };
  std::future<void> next = gather(0);
  for (std::size_t begin = 0; begin < list.size(); begin += kProgressStep) {
    next.get();
    // Told while no other thread reads the base, as the desktop lets events through here.
    if (progress && !progress(begin, list.size())) return ExportOutcome::Cancelled;
    if (begin + kProgressStep < list.size()) next = gather(begin + kProgressStep);
    std::vector<std::string>& block = blocks[begin / kProgressStep % 2];
    const std::size_t rows = std::min(kProgressStep, list.size() - begin);
    for (std::size_t row = 0; row < rows; ++row) {
      for (std::size_t c = 0; c < width; ++c) {
        if (options.fields[c] == kFieldRemark) {
          block[row * width + c] = PrintFieldText(dm, list[begin + row], kFieldRemark);
        }
      }
      sink->Row(std::span<const std::string>(block).subspan(row * width, width));
    }
  }
  sink->Finish();
  if (progress) progress(list.size(), list.size());
  return ExportOutcome::Written;
}

}  // namespace zorel
