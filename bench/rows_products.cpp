// MatchProducts over the whole base: with one key (SQLite answers from its index on the item;
// DuckDB's answer is shown too) and with every key of the classification's root (compared with
// the raw pass, a raw pass that reads every product entry, and SQLite).
#include <utility>

#include "context.h"
#include "data/classification.h"
#include "data/matcher.h"
#include "peer_queries.h"

namespace zorel::bench {
namespace {

struct Compared {
  std::vector<Timing> t;
  bool same = false;
  std::optional<bool> sameAsDuckDb;  // with a DuckDB run, the last timing
};

Compared Measure(Context& c, const std::vector<ProductKey>& keys, bool withRawPass,
                 bool withDuckDb) {
  RecordList ours, peer, duck;
  std::vector<Operation> group{
      {[&] { ours = c.wholeBase; },
       [&] {
         MatchProducts(c.dm, ours, keys);
         return ours.size();
       }},
      {{},
       [&] {
         peer = PeerProducts(c.peer, keys);
         return peer.size();
       }},
  };
  if (withRawPass) {
    group.push_back({{}, [&] { return c.raw.Run(); }});
    group.push_back({{}, [&] { return c.raw.Run(Touch::ProductItems); }});
  }
  if (withDuckDb) {
    const ProductKey& key = keys.front();
    const std::string item = std::to_string(key.item);
    const auto [query, args] =
        key.kind == 0 ? std::pair("item", std::vector{item})
                      : std::pair("itemOfKind", std::vector{std::to_string(key.kind), item});
    group.push_back({{}, {}, [&c, &duck, query, args] {
                       PeerAnswer a = c.duckdb->Run(query, args);
                       duck = std::move(a.records);
                       return a.timing;
                     }});
  }
  Compared r;
  r.t = MeasureRounds(group, c.options.runs);
  r.same = ours == peer;
  if (withDuckDb) r.sameAsDuckDb = ours == duck;
  return r;
}

}  // namespace

std::vector<Row> ProductRows(Context& c) {
  const Compared one = Measure(c, {c.workload.oneKey}, false, c.duckdb != nullptr);
  const std::vector<ProductKey> rootKeys = BuildKeyList(c.dm, {TClassInfo::Root()});
  const Compared root = Measure(c, rootKeys, true, false);
  const std::string rootName = "MatchProducts: root's " + std::to_string(rootKeys.size()) + " keys";
  std::vector<Row> rows{
      Row{"MatchProducts: one key", one.t[0], "SQLite (index)", one.t[1], {}, one.same}};
  if (one.sameAsDuckDb) {
    rows.push_back(
        Row{"MatchProducts: one key", one.t[0], "DuckDB", one.t.back(), {}, one.sameAsDuckDb});
  }
  rows.push_back(Row{rootName, root.t[0], "raw pass", root.t[2], kNearRawPass, {}});
  rows.push_back(Row{rootName, root.t[0], "raw pass, product lists", root.t[3], {}, {}});
  rows.push_back(Row{rootName, root.t[0], "SQLite", root.t[1], {}, root.same});
  return rows;
}

}  // namespace zorel::bench
