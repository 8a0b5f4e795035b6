#include "cli_main.h"

#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_output.h"
#include "data/errors.h"

namespace zorel::cli {

const char* const kUsage =
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
    "  export [--in FILE.lst] --out FILE [--format xlsx|csv] [--fields N,N,...] [--remarks]\n"
    "         [--encoding utf-8|windows-1251] [--separator ';'|',']\n"
    "  summary [--in FILE.lst] [--by region|country|orgform|staff|decade|products]\n"
    "  mail --server HOST [--port N] [--timeout S] --from ADDR --subject TEXT\n"
    "       (--body TEXT | --body-file FILE) [--html]\n"
    "       [--charset windows-1251|koi8-r|us-ascii|utf-8] [--attach FILE]...\n"
    "       [--test-address ADDR] [--security none|starttls|tls]\n"
    "       [--ca-file FILE] [--user NAME] [--pause S] [--failed-list FILE.lst]\n"
    "       (--in LIST.lst | --record N | --all)\n"
    "  mail --preview N --subject TEXT (--body TEXT | --body-file FILE)\n"
    "       prints the message for record N without sending. The subject and the text may\n"
    "       hold fields, replaced by each recipient's texts (nothing when empty):\n"
    "       {Наименование предприятия} {Форма собственности} {Год основания}\n"
    "       {Почтовый индекс} {Страна} {Регион} {Численность} {Телефонный код города}\n"
    "       {Адрес} {Руководитель} {Факс} {Все контактные телефоны} {Реклама} {Примечания}\n"
    "       {Электронный адрес} {Адрес в интернет} {Наименование продукции}\n"
    "       {Поле пользователя}\n"
    "  print FORM.rpt [--in FILE.lst] [--range FROM:TO | --record N] --pdf OUT.pdf\n"
    "  sample-forms DIR\n";

namespace {

constexpr int kExitUnusable = 1;
constexpr int kExitUsage = 2;

int Fail(int status, const char* message) {
  std::fprintf(stderr, "%s\n", message);
  return status;
}

// Splits off the global options and the command's name; runs the command.
void Dispatch(const std::vector<std::string>& words, std::span<const CommandInfo> commands) {
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
  for (const auto& c : commands) {
    if (name == c.name) {
      c.run(inv);
      return;
    }
  }
  throw UsageError("неизвестная команда " + name + "\n" + kUsage);
}

}  // namespace

int RunCommandLine(int argc, char** argv, std::span<const CommandInfo> commands) {
  // A closed pipe is reported as a write error, not a signal, so the remark store still
  // closes properly.
  std::signal(SIGPIPE, SIG_IGN);
  StartOutput();
  const std::vector<std::string> words(argv + 1, argv + argc);
  try {
    Dispatch(words, commands);
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

}  // namespace zorel::cli
