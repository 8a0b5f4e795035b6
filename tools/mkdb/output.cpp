// Base folders from sources held whole and from the synthetic stream.
#include "mkdb/output.h"

#include <filesystem>

#include "data/file_util.h"

namespace zorel::mkdb {
namespace {

void WriteLists(const std::string& outDir, const std::vector<ListSource>& lists) {
  if (lists.empty()) return;
  std::filesystem::create_directories(ListsFolder(outDir));
  for (const auto& list : lists) {
    SaveListFile(ListsFolder(outDir) + list.name + ".lst", list.header, list.records);
  }
}

}  // namespace

std::string DbFolder(const std::string& outDir) { return WithTrailingSlash(outDir) + "db/"; }
std::string ListsFolder(const std::string& outDir) { return WithTrailingSlash(outDir) + "lists/"; }

bool HoldsBase(const std::string& outDir) {
  std::error_code ec;
  for (const char* name : {"factory.dat", "remark.dat"}) {
    if (std::filesystem::exists(std::filesystem::symlink_status(DbFolder(outDir) + name, ec))) {
      return true;
    }
  }
  return std::filesystem::is_directory(ListsFolder(outDir), ec) &&
         !std::filesystem::is_empty(ListsFolder(outDir), ec);
}

void WriteBase(const std::string& outDir, Sources& sources, bool replacement) {
  sources.base.keepRemarkFile = replacement;
  WriteDatabase(DbFolder(outDir), sources.base);
  if (!replacement) WriteLists(outDir, sources.lists);
}

void WriteSynthetic(const std::string& outDir, SyntheticBase& base) {
  const std::string db = DbFolder(outDir);
  PrepareDatabaseFolder(db);
  FactoryWriter factory(db + "factory.dat", base.Side());
  EnterpriseSource e;
  while (base.Next(e)) factory.Add(e);
  factory.Close();
  WriteSideFiles(db, base.Side());
  WriteLists(outDir, base.Lists());
}

}  // namespace zorel::mkdb
