// Opening the data module, with its index files present and with both deleted (so the
// opening scans the data files and writes them anew).
#include <filesystem>

#include "context.h"
#include "peer_queries.h"

namespace zorel::bench {

std::vector<Row> OpenRows(Context& c) {
  const std::string dbDir = c.dm.DbDir();
  const Operation ours{{}, [&] { return static_cast<std::size_t>(Tdm(dbDir).RecordCount()); }};
  const Operation sqlite{{}, [&] { return PeerOpen(c.peerPath); }};
  const auto withIndex = MeasureRounds({ours, sqlite}, c.options.runs);

  const Operation oursRebuilding{[&] {
                                   std::filesystem::remove(dbDir + "factory.idx");
                                   std::filesystem::remove(dbDir + "item.idx");
                                 },
                                 ours.run};
  const Operation raw{{}, [&] { return c.raw.Run(); }};
  const auto withoutIndex = MeasureRounds({oursRebuilding, raw}, c.options.runs);

  return {
      Row{"open data module (index files present)",
          withIndex[0],
          "SQLite open+schema",
          withIndex[1],
          {},
          {}},
      Row{"open data module (index files deleted)",
          withoutIndex[0],
          "raw pass",
          withoutIndex[1],
          {},
          {}},
  };
}

}  // namespace zorel::bench
