// The classification commands: tree (one level of the branch dialog's tree), branch-keys
// (the key list its search builds) and branch-search (the records that search keeps).
#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/classification.h"
#include "data/matcher.h"
#include "data/text1251.h"

namespace zorel::cli {
namespace {

// The tree items for the nodes, in the order given; UsageError for a node no entry has.
std::vector<TClassInfo> FindNodes(Tdm& dm, const std::vector<std::array<std::uint32_t, 5>>& codes) {
  std::vector<TClassInfo> nodes;
  for (const auto& c : codes) {
    const auto node = FindNode(dm, c);
    if (!node) throw UsageError("нет рубрики " + NodeText(c));
    nodes.push_back(*node);
  }
  return nodes;
}

std::vector<std::array<std::uint32_t, 5>> ParseNodes(const std::vector<std::string>& specs) {
  std::vector<std::array<std::uint32_t, 5>> codes;
  for (const auto& spec : specs) codes.push_back(ParseNodeSpec(spec));
  return codes;
}

}  // namespace

void RunTree(const Invocation& inv) {
  ParsedArgs args(inv);
  if (args.Operands().size() > 1) throw args.Misuse();
  const auto codes =
      ParseNodes(args.Operands().empty() ? std::vector<std::string>{"0.0.0.0.0"} : args.Operands());
  Tdm dm(inv.dbDir);
  const TClassInfo node = FindNodes(dm, codes).front();
  std::string out;
  for (const ClassChild& child : ExpandNode(dm, node)) {
    out += NodeText(child.info.codes) + '\t' + std::to_string(child.info.count) + '\t' +
           std::to_string(child.info.kind) + '\t' + ToUtf8(child.caption) + '\n';
  }
  Emit(out);
}

void RunBranchKeys(const Invocation& inv) {
  ParsedArgs args(inv);
  args.ExpectAtLeast(1);
  const auto codes = ParseNodes(args.Operands());
  Tdm dm(inv.dbDir);
  std::string out;
  for (const auto& key : BuildKeyList(dm, FindNodes(dm, codes))) out += KeyText(key) + '\n';
  Emit(out);
}

void RunBranchSearch(const Invocation& inv) {
  ParsedArgs args(inv, {{"--in"}, {}});
  args.ExpectAtLeast(1);
  const auto codes = ParseNodes(args.Operands());
  const auto listFile = args.Single("--in");
  Tdm dm(inv.dbDir);
  const auto keys = BuildKeyList(dm, FindNodes(dm, codes));
  RecordList records = SourceRecords(dm, listFile);
  MatchProducts(dm, records, keys);
  EmitRecords(records);
}

}  // namespace zorel::cli
