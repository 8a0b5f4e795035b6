// The benchmark's command line:
//   zorel-bench [DATA_DIR] [--records N] [--seed S] [--runs R] [--mkdb PATH] [--cli PATH]
//               [--duckdb PATH] [--check]
// DATA_DIR (default build/bench-data, relative to the current directory) holds the synthetic
// base in DATA_DIR/db, the list files in DATA_DIR/lists, the SQLite peer beside them and the
// DuckDB peer's files in DATA_DIR/duckdb.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorel::bench {

struct Options {
  std::string dataDir = "build/bench-data";
  std::int32_t records = 1000000;  // size of the base generated when none is there
  std::uint32_t seed = 1;
  int runs = 5;
  std::string mkdb;    // the generator; empty for the one built with the benchmark
  std::string cli;     // the command-line tool timed whole
  std::string duckdb;  // the DuckDB peer's script, beside its npm packages
  bool check = false;  // exit 3 when some answer differs from a peer's
};

// Throws std::invalid_argument with a message for a bad command line; an empty optional
// asks for the usage text.
std::optional<Options> ParseOptions(int argc, char** argv);
const char* Usage();

}  // namespace zorel::bench
