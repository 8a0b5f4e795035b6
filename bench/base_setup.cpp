#include "base_setup.h"

#include <filesystem>
#include <random>

#include "data/list_file.h"

namespace zorel::bench {

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
