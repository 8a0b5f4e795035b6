// The list file commands, list-show and list-merge, and the loading of the list that
// --in names for the searches and the export.
#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/errors.h"
#include "data/list_file.h"

namespace zorel::cli {

RecordList LoadList(const Tdm& dm, const std::string& path) {
  LoadedList loaded = LoadListFile(path, dm.RecordCount());
  if (loaded.status == ListFileStatus::WrongFormat) throw EChildError(kWrongListFormat);
  return std::move(loaded.records);
}

RecordList SourceRecords(const Tdm& dm, const std::optional<std::string>& listFile) {
  return listFile ? LoadList(dm, *listFile) : WholeBaseList(dm.RecordCount());
}

void RunListShow(const Invocation& inv) {
  ParsedArgs args(inv);
  args.ExpectOperands(1);
  Tdm dm(inv.dbDir);
  EmitRecords(LoadList(dm, args.Operands()[0]));
}

void RunListMerge(const Invocation& inv) {
  ParsedArgs args(inv, {{}, {"--append", "--subtract"}});
  args.ExpectOperands(2);
  const bool append = args.Flag("--append");
  if (append == args.Flag("--subtract")) throw args.Misuse();
  Tdm dm(inv.dbDir);
  RecordList records = LoadList(dm, args.Operands()[0]);
  const auto status =
      MergeListFile(records, args.Operands()[1], append ? MergeMode::Append : MergeMode::Subtract,
                    dm.RecordCount());
  if (status == ListFileStatus::WrongFormat) throw EChildError(kWrongListFormat);
  EmitRecords(records);
}

}  // namespace zorel::cli
