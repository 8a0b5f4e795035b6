// DuckDB as a peer of the searches: the script duckdb/peer.mjs, run by node on the exported
// enterprises (duckdb_export.h), kept running for the whole benchmark and asked one query at a
// time, so that its runs alternate with ours like every other peer's. It times each run
// inside its own process: node's start, the loading and the pipe do not count.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "child_process.h"
#include "data/record_list.h"
#include "measure.h"

namespace zorel {
class Tdm;
}

namespace zorel::bench {

struct PeerAnswer {
  RecordList records;  // in record order
  Reported timing;
};

class DuckDbPeer {
 public:
  // Exports the enterprises into dir when needed, starts the script and waits until its
  // database is loaded, telling `progress` of the slow steps. Throws std::runtime_error with a
  // one-line reason when node, the script's packages or the loading fail.
  DuckDbPeer(const Tdm& dm, const std::string& script, const std::string& dir,
             std::ostream& progress);

  // The script's queries and their arguments: name (fragment), staff (threshold), product
  // (fragment), joined (name fragment, staff threshold, product fragment), item (item: any
  // kind), itemOfKind (kind, item). Fragments are lower-case and go through HexUtf8.
  PeerAnswer Run(const std::string& query, const std::vector<std::string>& args);

 private:
  std::unique_ptr<LineChild> node_;
};

}  // namespace zorel::bench
