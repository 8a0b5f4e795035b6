// zorel-bench: prepares the synthetic base, its list files and the SQLite and DuckDB peers
// when missing, then measures every operation against its peers in the same run and prints
// the table. DuckDB's rows need node and the script's npm packages, the whole-process rows the
// sqlite3 shell; without them those rows are left out with a note saying why.
// Exits 0 whether or not the targets are met (it reports; it does not test); 1 when the
// benchmark cannot run, 2 for a bad command line, and with --check 3 when one of our answers
// differs from a peer's.
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iostream>

#include "common/synthetic_base.h"
#include "context.h"
#include "data/text1251.h"
#include "peer_load.h"
#include "peer_queries.h"

namespace zorel::bench {
namespace {

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five;
  in >> one >> five;
  return one + " (1 min), " + five + " (5 min)";
}

std::size_t FileBytes(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

void PrintWorkload(const Context& c) {
  const Workload& w = c.workload;
  std::cout << "Base: " << c.dm.DbDir() << ", " << c.dm.RecordCount() << " records, "
            << c.dm.ItemCount() << " items, factory.dat " << FileBytes(c.dm.FactoryName())
            << " bytes\n"
            << "Peer: " << c.peerPath << " (" << FileBytes(c.peerPath) << " bytes)\n"
            << "Name fragment «" << ToUtf8(w.nameFragment) << "», staff > " << w.staffThreshold
            << ", product fragment «" << ToUtf8(w.productFragment) << "», one key «"
            << FormatProductKey(w.oneKey) << "»\n"
            << "Item scan fragments: ";
  for (std::size_t i = 0; i < w.scanFragments.size(); ++i) {
    std::cout << (i == 0 ? "" : " ") << ToUtf8(w.scanFragments[i]);
  }
  std::cout << "\nMedian of " << c.options.runs
            << " runs each after a warm-up; ours and its peers alternate within every round.\n"
            << "Load average before measuring: " << LoadAverage() << "\n\n";
}

int Run(const Options& o) {
  EnsureSyntheticBase(o.dataDir, o.records, o.seed, o.mkdb);
  Tdm dm(DbDirOf(o.dataDir));
  const ListFiles lists = WriteListFiles(o, dm.RecordCount());

  const std::string peerPath = o.dataDir + "/peer.sqlite";
  const std::string stamp = BaseStamp(dm);
  if (!PeerDatabaseCurrent(peerPath, stamp)) {
    std::cout << "Loading the enterprises into SQLite (" << peerPath << ") ..." << std::flush;
    std::cout << " " << BuildPeerDatabase(dm, peerPath, stamp) << " s" << std::endl;
  }
  auto peer = OpenPeer(peerPath);
  RawPass raw(dm.DbDir());
  Context c{
      o, dm, *peer, peerPath, raw, ChooseWorkload(dm), lists, WholeBaseList(dm.RecordCount())};
  std::unique_ptr<DuckDbPeer> duckdb;
  try {
    duckdb = std::make_unique<DuckDbPeer>(dm, o.duckdb, o.dataDir + "/duckdb", std::cout);
    c.duckdb = duckdb.get();
  } catch (const std::runtime_error& e) {
    c.notes.push_back(std::string("DuckDB rows skipped: ") + e.what() + ".");
  }

  const std::vector<MemoryLine> memory = ListMemory(c);
  PrintWorkload(c);

  std::vector<Row> rows;
  for (auto group : {OpenRows, ConditionRows, ProductRows, ItemRows, ListRows, ProcessRows}) {
    for (Row& r : group(c)) rows.push_back(std::move(r));
  }
  PrintRows(std::cout, rows);
  for (const std::string& note : c.notes) std::cout << note << '\n';
  std::cout << "\nours/peer: ratio of the median wall times, below 1 ours is faster; targets are "
               "judged on it.\ncpu ratio: the same for processor time, which other programs on "
               "the machine disturb less.\nDuckDB runs in a node process and times itself: running "
               "the prepared statement to a result in memory, node's start and the loading not "
               "counted;\nits processor time counts all of its threads.\nWhole process: zorel-cli "
               "search and the sqlite3 shell on peer.sqlite from start to end, output read "
               "through a pipe\nand compared byte for byte; processor time is each program's "
               "user and system time.\n\n";
  PrintMemory(std::cout, memory);
  const ListOutFigures listOut = ListOutTimes(c);
  std::cout << '\n';
  PrintTimes(std::cout, listOut.times);
  PrintMemory(std::cout, listOut.memory);
  std::cout << "\nLoad average after measuring: " << LoadAverage() << '\n';
  const bool differs =
      std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.sameAnswer == false; });
  if (differs) std::cout << "Some answers differ from a peer's.\n";
  return differs && o.check ? 3 : 0;
}

}  // namespace
}  // namespace zorel::bench

int main(int argc, char** argv) {
  using namespace zorel::bench;
  // A peer process that ends early must give an error, not end the benchmark.
  std::signal(SIGPIPE, SIG_IGN);
  std::optional<Options> options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const std::invalid_argument& e) {
    std::cerr << "zorel-bench: " << e.what() << '\n' << Usage();
    return 2;
  }
  if (!options) {
    std::cout << Usage();
    return 0;
  }
  try {
    return Run(*options);
  } catch (const std::exception& e) {
    std::cerr << "zorel-bench: " << e.what() << '\n';
    return 1;
  }
}
