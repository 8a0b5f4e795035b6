// MatchProducts over the whole base: with one key (SQLite answers from its index on the item)
// and with every key of the classification's root (compared with the raw pass, a raw pass
// that reads every product entry, and SQLite).
#include "context.h"
#include "data/classification.h"
#include "data/matcher.h"
#include "peer_queries.h"

namespace zorel::bench {
namespace {

struct Compared {
  std::vector<Timing> t;
  bool same = false;
};

Compared Measure(Context& c, const std::vector<ProductKey>& keys, bool withRawPass) {
  RecordList ours, peer;
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
  Compared r;
  r.t = MeasureRounds(group, c.options.runs);
  r.same = ours == peer;
  return r;
}

}  // namespace

std::vector<Row> ProductRows(Context& c) {
  const Compared one = Measure(c, {c.workload.oneKey}, false);
  const std::vector<ProductKey> rootKeys = BuildKeyList(c.dm, {TClassInfo::Root()});
  const Compared root = Measure(c, rootKeys, true);
  const std::string rootName = "MatchProducts: root's " + std::to_string(rootKeys.size()) + " keys";
  return {
      Row{"MatchProducts: one key", one.t[0], "SQLite (index)", one.t[1], {}, one.same},
      Row{rootName, root.t[0], "raw pass", root.t[2], kNearRawPass, {}},
      Row{rootName, root.t[0], "raw pass, product lists", root.t[3], {}, {}},
      Row{rootName, root.t[0], "SQLite", root.t[1], {}, root.same},
  };
}

}  // namespace zorel::bench
