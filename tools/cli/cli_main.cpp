#include "cli_main.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli_args.h"
#include "cli_output.h"
#include "data/errors.h"

namespace zorel::cli {

namespace {

constexpr int kExitUnusable = 1;
constexpr int kExitUsage = 2;

int Fail(int status, const char* message) {
  std::fprintf(stderr, "%s\n", message);
  return status;
}

// Every form and note of every command, each line indented under the first.
std::string Usage(std::span<const CommandInfo> commands) {
  std::string usage = "zorel-cli [--db DIR] COMMAND [ARGS...]\n";
  for (const auto& c : commands) {
    for (const std::string_view part : {c.form, c.notes}) {
      for (std::size_t at = 0; at < part.size();) {
        const std::size_t end = std::min(part.find('\n', at), part.size());
        usage.append("  ").append(part.substr(at, end - at)).append("\n");
        at = end + 1;
      }
    }
  }
  return usage;
}

// Splits off the global options and the command's name; runs the command.
void Dispatch(const std::vector<std::string>& words, std::span<const CommandInfo> commands) {
  Invocation inv{"../db", "", "", {}};
  std::size_t i = 0;
  for (; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--help" || w == "-h" || w == "help") {
      Emit(Usage(commands));
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
  if (i == words.size()) throw UsageError("не задана команда\n" + Usage(commands));
  if (inv.dbDir.empty()) throw UsageError("пустое имя папки базы");
  const std::string& name = words[i];
  inv.args.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
  for (const auto& c : commands) {
    if (name == c.name && c.run) {
      inv.name = c.name;
      inv.form = c.form;
      c.run(inv);
      return;
    }
  }
  throw UsageError("неизвестная команда " + name + "\n" + Usage(commands));
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
