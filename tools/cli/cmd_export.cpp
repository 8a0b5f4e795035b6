// export: every record of a list (or the whole base) with all the fields of show, as CSV
// or as a JSON array, written record by record so that a base of any size streams.
#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"

namespace zorel::cli {
namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

void RunExport(const Invocation& inv) {
  ParsedArgs args(inv.args, {{"--in", "--format"}, {}});
  args.ExpectOperands(0, "export [--in FILE.lst] [--format csv|json]");
  const std::string format = args.Single("--format").value_or("csv");
  if (format != "csv" && format != "json") throw UsageError("неизвестный формат " + format);
  const bool json = format == "json";
  const auto listFile = args.Single("--in");
  Tdm dm(inv.dbDir);
  const RecordList records = SourceRecords(dm, listFile);

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

}  // namespace zorel::cli
