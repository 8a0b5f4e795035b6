// MatchConditions over the whole base: a case-insensitive Cyrillic name fragment, staff above
// a threshold, a product-name fragment, and the three joined. Each is compared with SQLite's
// and DuckDB's answers to the same question; the name search also with the raw pass and with
// a raw pass that reads every byte of every name.
#include "context.h"
#include "data/matcher.h"
#include "duckdb_export.h"
#include "peer_queries.h"
#include "search_conditions.h"

namespace zorel::bench {
namespace {

struct SqlPeer {
  std::string name;
  std::function<RecordList()> run;
  // Where SQLite can answer from an index the ratio is only shown.
  std::optional<double> target = kFasterThanSqlite;
  // Instead of run, for a peer in another process that times itself.
  std::function<PeerAnswer()> runReported{};
};

struct Search {
  std::string name;
  ConditionTable table;
  std::vector<SqlPeer> peers;
  bool withRawPass = false;
};

// Ours, every SQL peer and (when asked) the raw pass in the same rounds; a row for each peer.
std::vector<Row> Measure(Context& c, const Search& s) {
  RecordList ours;
  std::vector<RecordList> answers(s.peers.size());
  std::vector<Operation> group{{[&] { ours = c.wholeBase; },
                                [&] {
                                  MatchConditions(c.dm, ours, s.table);
                                  return ours.size();
                                }}};
  for (std::size_t i = 0; i < s.peers.size(); ++i) {
    if (s.peers[i].runReported) {
      group.push_back({{}, {}, [&, i] {
                         PeerAnswer a = s.peers[i].runReported();
                         answers[i] = std::move(a.records);
                         return a.timing;
                       }});
    } else {
      group.push_back({{}, [&, i] {
                         answers[i] = s.peers[i].run();
                         return answers[i].size();
                       }});
    }
  }
  if (s.withRawPass) {
    group.push_back({{}, [&] { return c.raw.Run(); }});
    group.push_back({{}, [&] { return c.raw.Run(Touch::NameBytes); }});
  }
  const auto t = MeasureRounds(group, c.options.runs);
  std::vector<Row> rows;
  for (std::size_t i = 0; i < s.peers.size(); ++i) {
    rows.push_back(
        Row{s.name, t[0], s.peers[i].name, t[i + 1], s.peers[i].target, ours == answers[i]});
  }
  if (s.withRawPass) {
    const std::size_t raw = s.peers.size() + 1;
    rows.push_back(Row{s.name, t[0], "raw pass", t[raw], kNearRawPass, {}});
    rows.push_back(Row{s.name, t[0], "raw pass, name bytes", t[raw + 1], {}, {}});
  }
  return rows;
}

}  // namespace

std::vector<Row> ConditionRows(Context& c) {
  const Workload& w = c.workload;
  SqliteDb& db = c.peer;
  std::vector<Search> searches{
      {"MatchConditions: name contains (any case)",
       {Contains(kFieldName, w.nameFragment)},
       {{"SQLite", [&] { return PeerNameContains(db, w.nameFragment); }}},
       true},
      {"MatchConditions: staff > X",
       {StaffAbove(w.staffThreshold)},
       {{"SQLite", [&] { return PeerStaffGreater(db, w.staffThreshold); }}}},
      {"MatchConditions: product name contains",
       {Contains(kFieldProducts, w.productFragment)},
       {{"SQLite per firm", [&] { return PeerProductNameContains(db, w.productFragment); }},
        {"SQLite items first",
         [&] { return PeerProductNameContainsItemsFirst(db, w.productFragment); }, std::nullopt}}},
      {"MatchConditions: the three joined",
       {Contains(kFieldName, w.nameFragment), StaffAbove(w.staffThreshold),
        Contains(kFieldProducts, w.productFragment)},
       {{"SQLite",
         [&] {
           return PeerThreeJoined(db, w.nameFragment, w.staffThreshold, w.productFragment);
         }}}},
  };
  if (c.duckdb != nullptr) {
    const std::string name = HexUtf8(w.nameFragment), product = HexUtf8(w.productFragment);
    const std::string staff = std::to_string(w.staffThreshold);
    const std::vector<std::pair<std::string, std::vector<std::string>>> questions{
        {"name", {name}},
        {"staff", {staff}},
        {"product", {product}},
        {"joined", {name, staff, product}}};
    for (std::size_t i = 0; i < searches.size(); ++i) {
      searches[i].peers.push_back({"DuckDB", {}, kFasterThanDuckDb, [&c, q = questions[i]] {
                                     return c.duckdb->Run(q.first, q.second);
                                   }});
    }
  }
  std::vector<Row> rows;
  for (const Search& s : searches) {
    for (Row& r : Measure(c, s)) rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace zorel::bench
