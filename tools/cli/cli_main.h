// Running a command line of zorel-cli, shared by the tool and its companion program (which
// runs the commands that need Qt): the global options, the command by name, the exit status.
//
// Exit status: 0 success; 1 the base or a named file could not be used (the system's message
// on stderr); 2 bad usage or a bad argument.
#pragma once

#include <span>

#include "cli_commands.h"

namespace zorel::cli {

// `commands` is the whole table, whichever program runs it: the usage text lists every command.
int RunCommandLine(int argc, char** argv, std::span<const CommandInfo> commands);

}  // namespace zorel::cli
