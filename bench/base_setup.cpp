#include "base_setup.h"

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <stdexcept>
#include <vector>

#include "data/list_file.h"

extern char** environ;

namespace zorel::bench {
namespace {

std::string Generator(const Options& o) {
  if (!o.mkdb.empty()) return o.mkdb;
#ifdef ZOREL_MKDB
  return ZOREL_MKDB;
#else
  throw std::runtime_error("no base in " + o.dataDir + " and no generator: pass --mkdb PATH");
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

std::string DbDirOf(const Options& o) { return o.dataDir + "/db/"; }

void EnsureBase(const Options& o) {
  if (std::filesystem::exists(DbDirOf(o) + "factory.dat")) return;
  std::cout << "Generating a synthetic base of " << o.records << " records in " << o.dataDir
            << " ..." << std::endl;
  Run({Generator(o), "--synthetic", std::to_string(o.records), "--seed", std::to_string(o.seed),
       o.dataDir});
}

ListFiles WriteListFiles(const Options& o, std::int32_t recordCount) {
  const std::string dir = o.dataDir + "/lists/";
  std::filesystem::create_directories(dir);
  ListFiles files{dir + "bench-whole-base.lst", dir + "bench-random.lst"};
  SaveListFile(files.wholeBase, ListFileHeader{}, WholeBaseList(recordCount));
  std::mt19937 random(o.seed);
  std::uniform_int_distribution<std::int32_t> pick(0, recordCount - 1);
  RecordList drawn(static_cast<std::size_t>(recordCount));
  for (auto& r : drawn) r = pick(random);
  SaveListFile(files.random, ListFileHeader{}, drawn);
  return files;
}

}  // namespace zorel::bench
