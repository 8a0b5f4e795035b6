#include "options.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace zorel::bench {
namespace {

template <class T>
T Number(std::string_view option, std::string_view text, T min) {
  T value{};
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size() || value < min) {
    throw std::invalid_argument(std::string(option) + " needs a number of at least " +
                                std::to_string(min) + ", not '" + std::string(text) + "'");
  }
  return value;
}

// Built alongside the benchmark; without the build's paths, looked up in PATH and beside the
// sources.
#ifndef ZOREL_CLI
#define ZOREL_CLI "zorel-cli"
#endif
#ifndef ZOREL_DUCKDB_SCRIPT
#define ZOREL_DUCKDB_SCRIPT "bench/duckdb/peer.mjs"
#endif

}  // namespace

const char* Usage() {
  return "usage: zorel-bench [DATA_DIR] [--records N] [--seed S] [--runs R] [--mkdb PATH]\n"
         "                   [--cli PATH] [--duckdb PATH] [--check]\n"
         "  DATA_DIR   folder of the synthetic base (DATA_DIR/db), its list files and the\n"
         "             SQLite and DuckDB peers; default build/bench-data\n"
         "  --records  records of the base generated when DATA_DIR has none (1000000)\n"
         "  --seed     seed of the generated base and list files (1)\n"
         "  --runs     timed runs of every operation; the median is reported (5)\n"
         "  --mkdb     the database generator to run (the one built alongside)\n"
         "  --cli      the command-line tool timed whole (the one built alongside)\n"
         "  --duckdb   the DuckDB peer's script, with @duckdb/node-api installed beside it\n"
         "             (the copy in the build folder)\n"
         "  --check    exit with 3 when an answer differs from a peer's (targets never fail)\n";
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options o;
  o.cli = ZOREL_CLI;
  o.duckdb = ZOREL_DUCKDB_SCRIPT;
  bool haveDir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") return std::nullopt;
    if (arg == "--check") {
      o.check = true;
      continue;
    }
    if (arg.starts_with("--")) {
      if (i + 1 >= argc) throw std::invalid_argument(std::string(arg) + " needs a value");
      const std::string_view value = argv[++i];
      if (arg == "--records") {
        o.records = Number<std::int32_t>(arg, value, 1);
      } else if (arg == "--seed") {
        o.seed = Number<std::uint32_t>(arg, value, 0);
      } else if (arg == "--runs") {
        o.runs = Number<int>(arg, value, 1);
      } else if (arg == "--mkdb") {
        o.mkdb = value;
      } else if (arg == "--cli") {
        o.cli = value;
      } else if (arg == "--duckdb") {
        o.duckdb = value;
      } else {
        throw std::invalid_argument("unknown option " + std::string(arg));
      }
    } else if (!haveDir) {
      o.dataDir = arg;
      haveDir = true;
    } else {
      throw std::invalid_argument("more than one data folder: " + std::string(arg));
    }
  }
  while (o.dataDir.size() > 1 && o.dataDir.back() == '/') o.dataDir.pop_back();
  return o;
}

}  // namespace zorel::bench
