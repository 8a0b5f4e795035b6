// The searches by requisites and by products: search, products, match-products.
#include <cstdio>

#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/conditions.h"
#include "data/item_scan.h"
#include "data/matcher.h"
#include "data/text1251.h"

namespace zorel::cli {

void RunSearch(const Invocation& inv) {
  ParsedArgs args(inv, {{"--in", "--cond"}, {}});
  args.ExpectOperands(0);
  ConditionTable table;
  for (const auto& spec : args.All("--cond")) table.push_back(ParseConditionSpec(spec));
  ParseConditions(table);  // numeric values are checked before the base is opened
  const auto listFile = args.Single("--in");
  Tdm dm(inv.dbDir);
  RecordList records = SourceRecords(dm, listFile);
  MatchConditions(dm, records, table);
  EmitRecords(records);
}

void RunProducts(const Invocation& inv) {
  ParsedArgs args(inv);
  // The dialog lowers its fragments and drops those that are blank; it scans only when at
  // least one is left.
  std::vector<std::string> fragments;
  for (const auto& utf8 : args.Operands()) {
    std::string fragment = ToCodePage(utf8);
    if (!TrimBlanks(fragment).empty()) fragments.push_back(Lower1251(fragment));
  }
  if (fragments.empty()) throw args.Misuse();
  Tdm dm(inv.dbDir);
  const ItemScanResult found = ScanItemNames(dm, fragments);
  std::string out;
  for (const auto item : found.items) {
    out += std::to_string(item) + '\t' + ToUtf8(dm.ItemName(item)) + '\n';
  }
  Emit(out);
  if (found.limitReached) std::fprintf(stderr, "%s\n", kItemScanLimitMessage);
}

void RunMatchProducts(const Invocation& inv) {
  ParsedArgs args(inv, {{"--in"}, {}});
  args.ExpectAtLeast(1);
  std::vector<ProductKey> keys;
  for (const auto& spec : args.Operands()) keys.push_back(ParseKeySpec(spec));
  const auto listFile = args.Single("--in");
  Tdm dm(inv.dbDir);
  RecordList records = SourceRecords(dm, listFile);
  MatchProducts(dm, records, keys);
  EmitRecords(records);
}

}  // namespace zorel::cli
