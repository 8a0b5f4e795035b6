#include "common/synthetic_base.h"

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace zorel::bench {
namespace {

std::string Generator([[maybe_unused]] const std::string& dataDir, const std::string& mkdb) {
  if (!mkdb.empty()) return mkdb;
#ifdef ZOREL_MKDB
  return ZOREL_MKDB;
#else
  throw std::runtime_error("no base in " + dataDir + " and no generator: pass --mkdb PATH");
#endif
}

void Run(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot run " + command[0]);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(command[0] + " failed");
  }
}

}  // namespace

std::string DbDirOf(const std::string& dataDir) { return dataDir + "/db/"; }

void EnsureSyntheticBase(const std::string& dataDir, std::int64_t records, std::uint64_t seed,
                         const std::string& mkdb) {
  if (std::filesystem::exists(DbDirOf(dataDir) + "factory.dat")) return;
  std::cout << "Generating a synthetic base of " << records << " records in " << dataDir << " ..."
            << std::endl;
  Run({Generator(dataDir, mkdb), "--synthetic", std::to_string(records), "--seed",
       std::to_string(seed), dataDir});
}

}  // namespace zorel::bench
