// Appending and subtracting a list file of a million random record numbers to and from the
// whole-base list (itself loaded from a million-record list file), against SQLite doing the
// same with a table of the whole base and the file's numbers.
#include "context.h"
#include "data/list_file.h"
#include "peer_queries.h"

namespace zorel::bench {
namespace {

Row Merge(Context& c, const RecordList& listA, MergeMode mode, const std::string& name) {
  const std::int32_t count = c.dm.RecordCount();
  RecordList ours, peer;
  const auto t = MeasureRounds({{[&] { ours = listA; },
                                 [&] {
                                   MergeListFile(ours, c.lists.random, mode, count);
                                   return ours.size();
                                 }},
                                {{},
                                 [&] {
                                   peer = PeerMerge(c.peer, c.lists.random, mode, count);
                                   return peer.size();
                                 }}},
                               c.options.runs);
  return Row{name, t[0], "SQLite", t[1], {}, ours == peer};
}

}  // namespace

std::vector<Row> ListRows(Context& c) {
  const RecordList listA = LoadListFile(c.lists.wholeBase, c.dm.RecordCount()).records;
  const std::string file = "list file of " + std::to_string(c.dm.RecordCount()) + " numbers";
  return {Merge(c, listA, MergeMode::Append, "append a " + file),
          Merge(c, listA, MergeMode::Subtract, "subtract a " + file)};
}

}  // namespace zorel::bench
