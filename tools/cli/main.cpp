// zorel-cli: the data store core without a window.
//
//   zorel-cli [--db DIR] COMMAND [ARGS...]
//
// DIR is the folder holding factory.dat, "../db" relative to the current directory by
// default, as the desktop program resolves it. Texts leave in UTF-8 and arrive in UTF-8.
// The commands that need Qt (mail, print, sample-forms) are run by a companion program, so that
// every other command starts without loading Qt and what it pulls in.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_main.h"
#include "data/errors.h"
#include "data/file_system.h"

namespace zorel::cli {
namespace {

#ifdef ZOREL_CLI_COMPANION
// Where the companion may be: beside this program's own file, as in the build tree, and in the
// private folder of the installed tree (ZOREL_CLI_COMPANION_INSTALLED, relative to this one's).
std::vector<std::string> CompanionPaths() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./");
  dir.erase(dir.find_last_of('/') + 1);
  return {dir + ZOREL_CLI_COMPANION,
          std::filesystem::path(dir + ZOREL_CLI_COMPANION_INSTALLED).lexically_normal().string()};
}

// Replaces this process by the companion with the same command line; every place tried that
// fails is named with its reason.
void InCompanion(const char* command, const Invocation& inv) {
  std::string reasons;
  for (const std::string& path : CompanionPaths()) {
    std::vector<std::string> words{path, "--db", inv.dbDir, command};
    words.insert(words.end(), inv.args.begin(), inv.args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    reasons += "\n" + ReasonLine(path, errno);
  }
  throw DataError(std::string("не запускается ") + ZOREL_CLI_COMPANION + reasons);
}
#endif

constexpr CommandInfo kCommands[] = {
    {"info", RunInfo},
    {"show", RunShow},
    {"search", RunSearch},
    {"products", RunProducts},
    {"match-products", RunMatchProducts},
    {"tree", RunTree},
    {"branch-keys", RunBranchKeys},
    {"branch-search", RunBranchSearch},
    {"list-show", RunListShow},
    {"list-merge", RunListMerge},
    {"remark", RunRemark},
    {"export", RunExport},
    {"summary", RunSummary},
#ifdef ZOREL_CLI_COMPANION
    {"mail", [](const Invocation& inv) { InCompanion("mail", inv); }},
    {"print", [](const Invocation& inv) { InCompanion("print", inv); }},
    {"sample-forms", [](const Invocation& inv) { InCompanion("sample-forms", inv); }},
#endif
};

}  // namespace
}  // namespace zorel::cli

int main(int argc, char** argv) {
  return zorel::cli::RunCommandLine(argc, argv, zorel::cli::kCommands);
}
