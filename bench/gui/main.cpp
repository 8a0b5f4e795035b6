// zorel-gui-bench: the desktop program's own timings on a large synthetic base. It drives the
// real main window, list windows and search dialogs on the offscreen platform (unless
// QT_QPA_PLATFORM names another), and prints one row per target with the median of the runs,
// the target and whether it was met, then notes with the sub-steps and fetch counts. It is a
// report: it exits 0 whatever it measured, and also when it could not measure (after saying
// why); only a bad command line gives 2.
#include <QString>
#include <exception>
#include <filesystem>
#include <iostream>

#include "common/synthetic_base.h"
#include "measures.h"
#include "options.h"
#include "report.h"
#include "shell/application.h"

int main(int argc, char** argv) {
  using namespace zorel::guibench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) return 2;

  zorel::Application app(argc, argv);
  int errors = 0;
  app.SetExceptionView([&errors](const QString& message) {
    ++errors;
    std::cerr << "error shown by the program: " << message.toStdString() << std::endl;
  });
  try {
    // The list windows expect the lists folder beside the base.
    std::filesystem::create_directories(options->dataDir + "/lists");
    zorel::bench::EnsureSyntheticBase(options->dataDir, options->records, options->seed,
                                      options->mkdb);
    std::cout << "GUI benchmark on " << zorel::bench::DbDirOf(options->dataDir) << ", "
              << options->runs << " runs per measure (medians)" << std::endl;
    BenchShell shell(zorel::bench::DbDirOf(options->dataDir));
    Report report;
    MeasureOpenList(shell, options->runs, report);
    MeasureGridFetches(shell, report);
    MeasureRequisitesSearch(shell, options->runs, report);
    MeasureProductScan(shell, options->runs, report);
    MeasureClassExpand(shell, options->runs, report);
    if (errors > 0) report.Note(std::to_string(errors) + " errors were shown by the program");
    PrintReport(std::cout, report);
  } catch (const std::exception& e) {
    std::cerr << "zorel-gui-bench: " << e.what() << std::endl;
  }
  return 0;
}
