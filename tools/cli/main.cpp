// zorel-cli: the data store core without a window.
//
//   zorel-cli [--db DIR] COMMAND [ARGS...]
//
// DIR is the folder holding factory.dat, "../db" relative to the current directory by
// default, as the desktop program resolves it. Texts leave in UTF-8 and arrive in UTF-8.
// The commands that need Qt (mail, print, sample-forms) are run by a companion program,
// zorel-cli-qt, built from this file too, so that every other command starts without loading Qt
// and what it pulls in.
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
void InCompanion(const Invocation& inv) {
  std::string reasons;
  for (const std::string& path : CompanionPaths()) {
    std::vector<std::string> words{path, "--db", inv.dbDir, inv.name};
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

// Which program runs a command: zorel-cli those without Qt, handing the others to its companion
// where there is one; the companion those with Qt alone. A command without a handler is unknown
// to the program.
#if defined(ZOREL_CLI_QT)
#define WITHOUT_QT(run) nullptr
#define WITH_QT(run) run
#elif defined(ZOREL_CLI_COMPANION)
#define WITHOUT_QT(run) run
#define WITH_QT(run) InCompanion
#else
#define WITHOUT_QT(run) run
#define WITH_QT(run) nullptr
#endif

constexpr CommandInfo kCommands[] = {
    {"info", WITHOUT_QT(RunInfo), "info"},
    {"show", WITHOUT_QT(RunShow), "show N"},
    {"search", WITHOUT_QT(RunSearch), "search [--in FILE.lst] --cond F:E:O:C:VALUE ..."},
    {"products", WITHOUT_QT(RunProducts), "products FRAGMENT..."},
    {"match-products", WITHOUT_QT(RunMatchProducts), "match-products [--in FILE.lst] KIND:ITEM..."},
    {"tree", WITHOUT_QT(RunTree), "tree [C1.C2.C3.C4.C5]"},
    {"branch-keys", WITHOUT_QT(RunBranchKeys), "branch-keys C1.C2.C3.C4.C5..."},
    {"branch-search", WITHOUT_QT(RunBranchSearch),
     "branch-search [--in FILE.lst] C1.C2.C3.C4.C5..."},
    {"list-show", WITHOUT_QT(RunListShow), "list-show FILE.lst"},
    {"list-merge", WITHOUT_QT(RunListMerge), "list-merge FILE.lst OTHER.lst (--append|--subtract)"},
    {"remark", WITHOUT_QT(RunRemark), "remark N [--set TEXT]"},
    {"export", WITHOUT_QT(RunExport),
     "export [--in FILE.lst] [--format csv|json]\n"
     "export [--in FILE.lst] --out FILE [--format xlsx|csv] [--fields N,N,...] [--remarks]\n"
     "       [--encoding utf-8|windows-1251] [--separator ';'|',']"},
    {"summary", WITHOUT_QT(RunSummary),
     "summary [--in FILE.lst] [--by region|country|orgform|staff|decade|products]"},
    {"mail", WITH_QT(RunMail),
     "mail --server HOST [--port N] [--timeout S] --from ADDR --subject TEXT\n"
     "     (--body TEXT | --body-file FILE) [--html]\n"
     "     [--charset windows-1251|koi8-r|us-ascii|utf-8] [--attach FILE]...\n"
     "     [--test-address ADDR] [--security none|starttls|tls]\n"
     "     [--ca-file FILE] [--user NAME] [--pause S] [--failed-list FILE.lst]\n"
     "     (--in LIST.lst | --record N | --all)\n"
     "mail --preview N --subject TEXT (--body TEXT | --body-file FILE)",
     "     prints the message for record N without sending. The subject and the text may\n"
     "     hold fields, replaced by each recipient's texts (nothing when empty):\n"
     "     {Наименование предприятия} {Форма собственности} {Год основания}\n"
     "     {Почтовый индекс} {Страна} {Регион} {Численность} {Телефонный код города}\n"
     "     {Адрес} {Руководитель} {Факс} {Все контактные телефоны} {Реклама} {Примечания}\n"
     "     {Электронный адрес} {Адрес в интернет} {Наименование продукции}\n"
     "     {Поле пользователя}"},
    {"print", WITH_QT(RunPrint),
     "print FORM.rpt [--in FILE.lst] [--range FROM:TO | --record N] --pdf OUT.pdf"},
    {"sample-forms", WITH_QT(RunSampleForms), "sample-forms DIR"},
};

}  // namespace
}  // namespace zorel::cli

int main(int argc, char** argv) {
  return zorel::cli::RunCommandLine(argc, argv, zorel::cli::kCommands);
}
