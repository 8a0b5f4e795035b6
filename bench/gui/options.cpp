// Parsing of the GUI benchmark's command line.
#include "options.h"

#include <charconv>
#include <iostream>
#include <string_view>

namespace zorel::guibench {
namespace {

template <class T>
bool ParseNumber(std::string_view text, T& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

void Usage() {
  std::cerr << "usage: zorel-gui-bench [DATA_DIR] [--runs N] [--records N] [--seed S] "
               "[--mkdb PATH]\n";
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options o;
  bool haveDir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = true;
    if (arg == "--runs" && hasValue) {
      ok = ParseNumber(argv[++i], o.runs) && o.runs >= 1;
    } else if (arg == "--records" && hasValue) {
      ok = ParseNumber(argv[++i], o.records) && o.records >= 1000 && o.records <= 100000000;
    } else if (arg == "--seed" && hasValue) {
      ok = ParseNumber(argv[++i], o.seed);
    } else if (arg == "--mkdb" && hasValue) {
      o.mkdb = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && !haveDir) {
      o.dataDir = arg;
      haveDir = true;
    } else {
      ok = false;
    }
    if (!ok) {
      Usage();
      return std::nullopt;
    }
  }
  return o;
}

}  // namespace zorel::guibench
