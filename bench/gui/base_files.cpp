// Generating the GUI benchmark's base with zorel-mkdb.
#include "base_files.h"

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace zorel::guibench {
namespace {

std::string Generator(const Options& o) {
  if (!o.mkdb.empty()) return o.mkdb;
#ifdef ZOREL_MKDB
  return ZOREL_MKDB;
#else
  throw std::runtime_error("no base in " + o.dataDir + " and no generator: pass --mkdb PATH");
#endif
}

}  // namespace

std::string DbDirOf(const Options& o) { return o.dataDir + "/db/"; }

void EnsureBase(const Options& o) {
  std::filesystem::create_directories(o.dataDir + "/lists");
  if (std::filesystem::exists(DbDirOf(o) + "factory.dat")) return;
  std::cout << "Generating a synthetic base of " << o.records << " records in " << o.dataDir
            << " ..." << std::endl;
  QProcess mkdb;
  mkdb.setProcessChannelMode(QProcess::ForwardedChannels);
  mkdb.start(QString::fromStdString(Generator(o)),
             {QStringLiteral("--synthetic"), QString::number(o.records), QStringLiteral("--seed"),
              QString::number(o.seed), QString::fromStdString(o.dataDir)});
  // A million records take seconds; a generator still busy after ten minutes is stuck.
  if (!mkdb.waitForFinished(600000) || mkdb.exitStatus() != QProcess::NormalExit ||
      mkdb.exitCode() != 0) {
    throw std::runtime_error("the generator failed: " + Generator(o));
  }
}

}  // namespace zorel::guibench
