// The GUI benchmark's command line: `zorel-gui-bench [DATA_DIR] [--runs N] [--records N]
// [--seed S] [--mkdb PATH]`. DATA_DIR holds the synthetic base (DATA_DIR/db) and is made when
// missing; it defaults to build-bench/gui-data under the current directory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorel::guibench {

struct Options {
  std::string dataDir = "build-bench/gui-data";
  int runs = 5;
  std::int64_t records = 1000000;
  std::uint64_t seed = 1;
  std::string mkdb;  // the generator; empty for the one built with the benchmark
};

// Empty, after a message on stderr, for a bad command line.
std::optional<Options> ParseOptions(int argc, char** argv);

}  // namespace zorel::guibench
