// zorel-mkdb: builds a database folder from readable sources, generates a large synthetic
// base, or writes the readable sources of a synthetic base.
//   zorel-mkdb [--replace] SOURCES_DIR OUT_DIR
//   zorel-mkdb --synthetic N [--seed S] OUT_DIR
//   zorel-mkdb --emit-sources N [--seed S] SOURCES_DIR
// Exit codes: 0 done, 1 a file could not be written, 2 wrong arguments or faulty sources
// (nothing is written then).
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "mkdb/diagnostics.h"
#include "mkdb/emit_sources.h"
#include "mkdb/output.h"
#include "mkdb/sources.h"
#include "mkdb/synthetic.h"

namespace zorel::mkdb {
namespace {

constexpr int kWriteFailed = 1;
constexpr int kBadInput = 2;
// Larger bases would push factory.dat past the 2 GiB that 32-bit offsets address.
constexpr std::int64_t kMaxSynthetic = 4000000;

const char* const kUsage =
    "usage:\n"
    "  zorel-mkdb [--replace] SOURCES_DIR OUT_DIR\n"
    "      build OUT_DIR/db and OUT_DIR/lists from the readable sources; a folder that\n"
    "      already holds a base is refused unless --replace, which rewrites the data files\n"
    "      and leaves OUT_DIR/db/remark.dat and OUT_DIR/lists as they are\n"
    "  zorel-mkdb --synthetic N [--seed S] OUT_DIR\n"
    "      generate a base of N enterprises into OUT_DIR/db and OUT_DIR/lists\n"
    "  zorel-mkdb --emit-sources N [--seed S] SOURCES_DIR\n"
    "      write the readable sources of that base into SOURCES_DIR\n"
    "The same N and S always give the same files (S defaults to 1).\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "zorel-mkdb: %s\n", problem.c_str());
  std::fputs(kUsage, stderr);
  return kBadInput;
}

template <typename T>
bool ParseNumber(std::string_view s, T& out) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

int Build(const std::string& sourcesDir, const std::string& outDir, bool replace) {
  const bool replacement = HoldsBase(outDir);
  if (replacement && !replace) {
    std::fprintf(stderr,
                 "zorel-mkdb: %s already holds a base; nothing was written. --replace rewrites "
                 "its data files and leaves remark.dat and the lists folder as they are\n",
                 outDir.c_str());
    return kBadInput;
  }
  Diagnostics diag;
  Sources sources = ReadSources(sourcesDir, diag);
  if (diag.HasErrors()) {
    diag.Print(stderr);
    std::fprintf(stderr, "zorel-mkdb: %zu error(s) in %s; nothing was written\n", diag.Count(),
                 sourcesDir.c_str());
    return kBadInput;
  }
  WriteBase(outDir, sources, replacement);
  std::printf("zorel-mkdb: %s: %zu enterprises, %zu items, %zu classification entries",
              DbFolder(outDir).c_str(), sources.base.enterprises.size(), sources.base.items.size(),
              sources.base.classes.size());
  if (replacement) {
    std::printf("; remark.dat and %s left as they were\n", ListsFolder(outDir).c_str());
  } else {
    std::printf(", %zu lists\n", sources.lists.size());
  }
  return 0;
}

int Generate(const std::vector<std::string_view>& args) {
  const bool emit = args[0] == "--emit-sources";
  std::int64_t count = 0;
  std::uint64_t seed = 1;
  std::string target;
  if (!ParseNumber(args.size() > 1 ? args[1] : "", count) || count < 0 || count > kMaxSynthetic) {
    return Usage(std::string(args[0]) + " needs a number of enterprises from 0 to " +
                 std::to_string(kMaxSynthetic));
  }
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--seed") {
      if (i + 1 == args.size() || !ParseNumber(args[i + 1], seed)) {
        return Usage("--seed needs a whole number from 0 to 18446744073709551615");
      }
      ++i;
    } else if (target.empty() && !args[i].starts_with("--")) {
      target = args[i];
    } else {
      return Usage("unexpected argument \"" + std::string(args[i]) + "\"");
    }
  }
  if (target.empty()) return Usage(emit ? "the sources folder is missing" : "OUT_DIR is missing");
  SyntheticBase base(count, seed);
  if (emit) {
    EmitSources(target, base);
    std::printf("zorel-mkdb: %s: sources of %d enterprises\n", target.c_str(), base.Produced());
  } else {
    WriteSynthetic(target, base);
    std::printf("zorel-mkdb: %s: %d enterprises\n", DbFolder(target).c_str(), base.Produced());
  }
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.empty()) return Usage("");
  if (args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args[0] == "--synthetic" || args[0] == "--emit-sources") return Generate(args);
  const bool replace = args[0] == "--replace";
  const std::vector<std::string_view> dirs(args.begin() + (replace ? 1 : 0), args.end());
  if (dirs.size() != 2 || dirs[0].starts_with("--") || dirs[1].starts_with("--")) {
    return Usage("expected [--replace] SOURCES_DIR and OUT_DIR");
  }
  return Build(std::string(dirs[0]), std::string(dirs[1]), replace);
}

}  // namespace
}  // namespace zorel::mkdb

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  try {
    return zorel::mkdb::Run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zorel-mkdb: %s; the output is incomplete\n", e.what());
    return zorel::mkdb::kWriteFailed;
  }
}
