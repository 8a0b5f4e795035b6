// The item-name scan of the product search with 1 and with 50 fragments, and building the
// classification root's key list, each against SQLite.
#include "context.h"
#include "data/classification.h"
#include "data/item_scan.h"
#include "peer_queries.h"

namespace zorel::bench {
namespace {

Row Scan(Context& c, const std::vector<std::string>& fragments) {
  std::vector<std::int32_t> ours, peer;
  const auto t = MeasureRounds({{{},
                                 [&] {
                                   ours = ScanItemNames(c.dm, fragments).items;
                                   return ours.size();
                                 }},
                                {{},
                                 [&] {
                                   peer = PeerItemScan(c.peer, fragments);
                                   return peer.size();
                                 }}},
                               c.options.runs);
  const std::string name = "item-name scan, " + std::to_string(fragments.size()) +
                           (fragments.size() == 1 ? " fragment" : " fragments");
  return Row{name, t[0], "SQLite", t[1], {}, ours == peer};
}

}  // namespace

std::vector<Row> ItemRows(Context& c) {
  const auto& fragments = c.workload.scanFragments;
  std::vector<Row> rows{Scan(c, {fragments.front()}), Scan(c, fragments)};

  std::vector<ProductKey> ours, peer;
  const auto t = MeasureRounds({{{},
                                 [&] {
                                   ours = BuildKeyList(c.dm, {TClassInfo::Root()});
                                   return ours.size();
                                 }},
                                {{},
                                 [&] {
                                   peer = PeerRootKeys(c.peer);
                                   return peer.size();
                                 }}},
                               c.options.runs);
  rows.push_back(Row{"build the root's key list", t[0], "SQLite", t[1], {}, ours == peer});
  return rows;
}

}  // namespace zorel::bench
