// The command-line tool's search as a user runs it, the whole process with its start, against
// the sqlite3 shell asking the same question of the SQLite peer's file: the four requisites
// searches in the statements of the in-process SQLite rows, the product search also in the
// form that starts from the matching items (shown without a target, as in-process). Both programs
// write the record numbers one per line; their output is read through a pipe and compared byte for
// byte.
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "child_process.h"
#include "context.h"
#include "data/text1251.h"
#include "hex.h"
#include "peer_queries.h"
#include "search_conditions.h"

namespace zorel::bench {
namespace {

std::string BlobLiteral(std::string_view bytes) { return "x'" + Hex(bytes) + "'"; }

// The statement with ?1, ?2, ... replaced by the SQL literals, as a shell user writes it.
std::string WithLiterals(std::string sql, const std::vector<std::string>& literals) {
  for (std::size_t i = 0; i < literals.size(); ++i) {
    std::string mark(1, '?');
    mark += std::to_string(i + 1);
    for (std::size_t at; (at = sql.find(mark)) != std::string::npos;) {
      sql.replace(at, mark.size(), literals[i]);
    }
  }
  return sql;
}

std::vector<std::string> CliSearch(const Context& c, const ConditionTable& table) {
  std::vector<std::string> argv{c.options.cli, "--db", c.dm.DbDir(), "search"};
  for (const ConditionRow& row : table) {
    argv.push_back("--cond");
    argv.push_back(row[0] + ':' + row[1] + ':' + row[2] + ':' + row[4] + ':' + ToUtf8(row[3]));
  }
  return argv;
}

// The same question in one form of SQL.
struct ShellPeer {
  std::string name;
  std::string sql;
  std::optional<double> target = kFasterThanShell;
};

struct Search {
  std::string name;
  ConditionTable table;
  std::vector<ShellPeer> peers;
};

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

Operation Program(std::vector<std::string> argv, std::string& output) {
  return {{}, {}, [argv = std::move(argv), &output] {
            Finished f = RunToEnd(argv);
            if (f.exitCode != 0) {
              throw std::runtime_error(argv[0] + " failed (exit code " +
                                       std::to_string(f.exitCode) + ")");
            }
            output = std::move(f.output);
            return Reported{f.wallMs, f.cpuMs, Lines(output)};
          }};
}

// Empty when both programs can run.
std::string WhyNot(const Context& c) {
  try {
    if (RunToEnd({"sqlite3", "-version"}).exitCode != 0) return "the sqlite3 shell fails";
  } catch (const std::runtime_error& e) {
    return std::string("no sqlite3 shell (") + e.what() + ")";
  }
  if (access(c.options.cli.c_str(), X_OK) != 0) return "no program " + c.options.cli;
  return {};
}

}  // namespace

std::vector<Row> ProcessRows(Context& c) {
  if (const std::string why = WhyNot(c); !why.empty()) {
    c.notes.push_back("Whole-process rows skipped: " + why + ".");
    return {};
  }
  const Workload& w = c.workload;
  const std::string name = BlobLiteral(w.nameFragment), product = BlobLiteral(w.productFragment);
  const std::string staff = std::to_string(w.staffThreshold);
  const std::vector<Search> searches{
      {"name contains (any case)",
       {Contains(kFieldName, w.nameFragment)},
       {{"sqlite3 shell", WithLiterals(kNameContainsSql, {name})}}},
      {"staff > X",
       {StaffAbove(w.staffThreshold)},
       {{"sqlite3 shell", WithLiterals(kStaffGreaterSql, {staff})}}},
      {"product name contains",
       {Contains(kFieldProducts, w.productFragment)},
       {{"sqlite3 shell", WithLiterals(kProductNameContainsSql, {product})},
        {"sqlite3 shell, items first", WithLiterals(kProductNameContainsItemsFirstSql, {product}),
         std::nullopt}}},
      {"the three joined",
       {Contains(kFieldName, w.nameFragment), StaffAbove(w.staffThreshold),
        Contains(kFieldProducts, w.productFragment)},
       {{"sqlite3 shell", WithLiterals(kThreeJoinedSql, {product, name, staff})}}},
  };
  std::vector<Row> rows;
  for (const Search& s : searches) {
    std::string ours;
    std::vector<std::string> shell(s.peers.size());
    std::vector<Operation> group{Program(CliSearch(c, s.table), ours)};
    for (std::size_t i = 0; i < s.peers.size(); ++i) {
      group.push_back(Program({"sqlite3", c.peerPath, s.peers[i].sql}, shell[i]));
    }
    const auto t = MeasureRounds(group, c.options.runs);
    for (std::size_t i = 0; i < s.peers.size(); ++i) {
      rows.push_back(Row{"zorel-cli search, whole process: " + s.name, t[0], s.peers[i].name,
                         t[i + 1], s.peers[i].target, ours == shell[i]});
    }
  }
  return rows;
}

}  // namespace zorel::bench
