// zorel-cli-qt: the commands of zorel-cli that need Qt (mail: the network; print and
// sample-forms: painting), started by zorel-cli with the same command line.
#include "cli_main.h"

namespace zorel::cli {
namespace {

constexpr CommandInfo kCommands[] = {
    {"mail", RunMail},
    {"print", RunPrint},
    {"sample-forms", RunSampleForms},
};

}  // namespace
}  // namespace zorel::cli

int main(int argc, char** argv) {
  return zorel::cli::RunCommandLine(argc, argv, zorel::cli::kCommands);
}
