// What every group of measured operations works on: the opened base, the SQLite peer, the
// DuckDB peer (when it could be started), the raw pass, the chosen workload and the list
// files. Owned by main for the whole run.
#pragma once

#include <string>
#include <vector>

#include "base_setup.h"
#include "data/data_module.h"
#include "duckdb_peer.h"
#include "options.h"
#include "raw_pass.h"
#include "report.h"
#include "sqlite_db.h"
#include "workload.h"

namespace zorel::bench {

struct Context {
  const Options& options;
  Tdm& dm;
  SqliteDb& peer;
  std::string peerPath;
  RawPass& raw;
  Workload workload;
  ListFiles lists;
  RecordList wholeBase;
  DuckDbPeer* duckdb = nullptr;      // none when node or its package is missing
  std::vector<std::string> notes{};  // printed below the table: rows skipped and why
};

// Targets, as the largest allowed time ratio ours / peer.
inline constexpr double kFasterThanSqlite = 1.0 / 3;  // at least 3x faster than SQLite
inline constexpr double kNearRawPass = 2.0;           // within 2x of the raw pass
inline constexpr double kFasterThanDuckDb = 1.0;
// The command-line tool against the sqlite3 shell, whole processes.
inline constexpr double kFasterThanShell = 1.0 / 5;
// A million-record list costs no more than this.
inline constexpr std::size_t kListMemoryLimit = 8000000;

// The groups of operations; each measures ours and its peers in the same rounds.
std::vector<Row> OpenRows(Context& c);
std::vector<Row> ConditionRows(Context& c);
std::vector<Row> ProductRows(Context& c);
std::vector<Row> ItemRows(Context& c);
std::vector<Row> ListRows(Context& c);
std::vector<Row> ProcessRows(Context& c);

// RecordList bytes and peak resident growth of building a million-record list.
std::vector<MemoryLine> ListMemory(Context& c);

// Fixed targets of taking the whole base out (a million records): milliseconds and bytes.
inline constexpr double kXlsxExportMs = 15000;
inline constexpr double kCsvExportMs = 2000;
inline constexpr double kSummaryMs = 100;
inline constexpr std::size_t kXlsxExportMemory = 64 << 20;

struct ListOutFigures {
  std::vector<TimeLine> times;
  std::vector<MemoryLine> memory;
};
// The list export to XLSX and CSV and the list summary over the whole base.
ListOutFigures ListOutTimes(Context& c);

}  // namespace zorel::bench
