// export: the records of a list (or the whole base). Without --out, every field of show as CSV
// or as a JSON array on standard output, streamed record by record. With --out, a spreadsheet
// file (XLSX, or CSV for spreadsheets) with the chosen print fields, as the list window's
// "Экспорт списка ..." writes it.
#include <algorithm>

#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/field_table.h"
#include "export/list_export.h"

namespace zorel::cli {
namespace {

constexpr std::size_t kChunk = 1 << 16;

void StreamAll(const Tdm& dm, const RecordList& records, bool json) {
  std::string chunk;
  chunk.reserve(kChunk * 2);
  if (json) {
    chunk += "[\n";
  } else {
    AppendCsvHeader(chunk);
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    const RecordDetails details = GetDetails(dm, records[i]);
    if (json) {
      AppendDetailsJson(chunk, details);
      chunk += i + 1 < records.size() ? ",\n" : "\n";
    } else {
      AppendDetailsCsv(chunk, details);
    }
    if (chunk.size() >= kChunk) {
      Emit(chunk);
      chunk.clear();
    }
  }
  if (json) chunk += "]\n";
  Emit(chunk);
}

// "0,2,6": print field numbers 0..16, each at most once.
std::vector<int> ParseFields(const std::string& text) {
  std::vector<int> fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const auto n = ParseInteger(std::string_view(text).substr(start, end - start));
    if (!n || *n < 0 || *n >= kFieldCount) throw UsageError("неверный список полей " + text);
    if (std::find(fields.begin(), fields.end(), *n) != fields.end()) {
      throw UsageError("поле " + std::to_string(*n) + " названо дважды");
    }
    fields.push_back(static_cast<int>(*n));
    start = end + 1;
  }
  return fields;
}

ExportOptions SpreadsheetOptions(const ParsedArgs& args, const std::string& format) {
  ExportOptions options;
  if (format == "xlsx") {
    options.format = ExportFormat::Xlsx;
  } else if (format == "csv") {
    options.format = ExportFormat::Csv;
  } else {
    throw UsageError("в файл пишутся форматы xlsx и csv, не " + format);
  }
  const bool remarks = args.Flag("--remarks");
  if (const auto fields = args.Single("--fields")) {
    options.fields = ParseFields(*fields);
    if (remarks && std::find(options.fields.begin(), options.fields.end(), kFieldRemark) ==
                       options.fields.end()) {
      options.fields.push_back(kFieldRemark);
    }
  } else {
    options.fields = DefaultExportFields(remarks);
  }
  const std::string encoding = args.Single("--encoding").value_or("utf-8");
  if (encoding == "utf-8") {
    options.encoding = CsvEncoding::Utf8Bom;
  } else if (encoding == "windows-1251") {
    options.encoding = CsvEncoding::Cp1251;
  } else {
    throw UsageError("неизвестная кодировка " + encoding);
  }
  const std::string separator = args.Single("--separator").value_or(";");
  if (separator != ";" && separator != ",") throw UsageError("разделитель: \";\" или \",\"");
  options.separator = separator[0];
  return options;
}

}  // namespace

void RunExport(const Invocation& inv) {
  ParsedArgs args(
      inv, {{"--in", "--format", "--out", "--fields", "--encoding", "--separator"}, {"--remarks"}});
  args.ExpectOperands(0);
  const auto out = args.Single("--out");
  const auto listFile = args.Single("--in");
  if (!out) {
    const std::string format = args.Single("--format").value_or("csv");
    if (format != "csv" && format != "json") throw UsageError("неизвестный формат " + format);
    for (const char* option : {"--fields", "--encoding", "--separator"}) {
      if (args.Single(option)) throw UsageError(std::string(option) + " нужен вместе с --out");
    }
    if (args.Flag("--remarks")) throw UsageError("--remarks нужен вместе с --out");
    Tdm dm(inv.dbDir);
    StreamAll(dm, SourceRecords(dm, listFile), format == "json");
    return;
  }
  const ExportOptions options = SpreadsheetOptions(args, args.Single("--format").value_or("xlsx"));
  Tdm dm(inv.dbDir);
  ExportList(dm, SourceRecords(dm, listFile), *out, options);
}

}  // namespace zorel::cli
