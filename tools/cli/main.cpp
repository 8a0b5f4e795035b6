// zorel-cli: the data store core without a window.
//
//   zorel-cli [--db DIR] COMMAND [ARGS...]
//
// DIR is the folder holding factory.dat, "../db" relative to the current directory by
// default, as the desktop program resolves it. Texts leave in UTF-8 and arrive in UTF-8.
// Exit status: 0 success; 1 the base or a named file could not be used (the system's message
// on stderr); 2 bad usage or a bad argument.
#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/errors.h"

namespace zorel::cli {
namespace {

constexpr int kExitUnusable = 1;
constexpr int kExitUsage = 2;

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
#ifdef ZOREL_CLI_MAIL
    {"mail", RunMail},
#endif
#ifdef ZOREL_CLI_PRINT
    {"print", RunPrint},
    {"sample-forms", RunSampleForms},
#endif
};

constexpr const char* kUsage =
    "zorel-cli [--db DIR] COMMAND [ARGS...]\n"
    "  info\n"
    "  show N\n"
    "  search [--in FILE.lst] --cond F:E:O:C:VALUE ...\n"
    "  products FRAGMENT...\n"
    "  match-products [--in FILE.lst] KIND:ITEM...\n"
    "  tree [C1.C2.C3.C4.C5]\n"
    "  branch-keys C1.C2.C3.C4.C5...\n"
    "  branch-search [--in FILE.lst] C1.C2.C3.C4.C5...\n"
    "  list-show FILE.lst\n"
    "  list-merge FILE.lst OTHER.lst (--append|--subtract)\n"
    "  remark N [--set TEXT]\n"
    "  export [--in FILE.lst] [--format csv|json]\n"
    "  mail --server HOST [--port N] [--timeout S] --from ADDR --subject TEXT\n"
    "       (--body TEXT | --body-file FILE) [--html] [--charset windows-1251|koir-8|us-ascii]\n"
    "       [--attach FILE]... [--test-address ADDR] [--security none|starttls|tls]\n"
    "       [--ca-file FILE] [--user NAME] [--pause S] [--failed-list FILE.lst]\n"
    "       (--in LIST.lst | --record N | --all)\n"
    "  print FORM.rpt [--in FILE.lst] [--range FROM:TO | --record N] --pdf OUT.pdf\n"
    "  sample-forms DIR\n";

int Fail(int status, const char* message) {
  std::fprintf(stderr, "%s\n", message);
  return status;
}

// Splits off the global options and the command's name; runs the command.
void Dispatch(const std::vector<std::string>& words) {
  Invocation inv{"../db", {}};
  std::size_t i = 0;
  for (; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--help" || w == "-h" || w == "help") {
      Emit(kUsage);
      return;
    }
    if (w == "--db") {
      if (++i == words.size()) throw UsageError("параметру --db нужно значение");
      inv.dbDir = words[i];
    } else if (w.rfind("--db=", 0) == 0) {
      inv.dbDir = w.substr(5);
    } else {
      break;
    }
  }
  if (i == words.size()) throw UsageError(std::string("не задана команда\n") + kUsage);
  if (inv.dbDir.empty()) throw UsageError("пустое имя папки базы");
  const std::string& name = words[i];
  inv.args.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
  for (const auto& c : kCommands) {
    if (name == c.name) {
      c.run(inv);
      return;
    }
  }
  throw UsageError("неизвестная команда " + name + "\n" + kUsage);
}

int Main(int argc, char** argv) {
  // A closed pipe is reported as a write error, not a signal, so the remark store still
  // closes properly.
  std::signal(SIGPIPE, SIG_IGN);
  StartOutput();
  const std::vector<std::string> words(argv + 1, argv + argc);
  try {
    Dispatch(words);
    FinishOutput();
    return 0;
  } catch (const UsageError& e) {
    return Fail(kExitUsage, e.what());
  } catch (const BadInput& e) {
    return Fail(kExitUsage, e.what());
  } catch (const std::bad_alloc&) {
    return Fail(kExitUnusable, "недостаточно памяти");
  } catch (const std::exception& e) {
    // DataError, EChildError, OutputError and whatever the system raised.
    return Fail(kExitUnusable, e.what());
  }
}

}  // namespace
}  // namespace zorel::cli

int main(int argc, char** argv) { return zorel::cli::Main(argc, argv); }
