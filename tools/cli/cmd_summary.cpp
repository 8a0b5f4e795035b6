// summary: how the enterprises of a list (or the whole base) spread, as the list window's
// "Сводка по списку" counts them: one line "AXIS<TAB>COUNT<TAB>LABEL" a bar, for every axis or
// the one --by names.
#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/list_summary.h"
#include "data/text1251.h"

namespace zorel::cli {

void RunSummary(const Invocation& inv) {
  ParsedArgs args(inv, {{"--in", "--by"}, {}});
  args.ExpectOperands(0);
  std::vector<SummaryAxis> axes(kAllSummaryAxes.begin(), kAllSummaryAxes.end());
  if (const auto by = args.Single("--by")) {
    const auto axis = SummaryAxisFromWord(*by);
    if (!axis) throw UsageError("неизвестная сводка " + *by);
    axes = {*axis};
  }
  Tdm dm(inv.dbDir);
  const RecordList records = SourceRecords(dm, args.Single("--in"));
  std::string out;
  for (const SummaryAxis axis : axes) {
    for (const SummaryBar& bar : SummarizeList(dm, records, axis)) {
      out.append(SummaryAxisWord(axis)) += '\t';
      out += std::to_string(bar.count) + '\t' + ToUtf8(bar.label) + '\n';
    }
  }
  Emit(out);
}

}  // namespace zorel::cli
