#include "export/export_target.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "export/list_export.h"

namespace zorel {
namespace fs = std::filesystem;

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

[[noreturn]] void Refuse(const std::string& path) {
  throw ExportError("Файл \"" + path + "\" относится к базе: записывать в него нельзя");
}

}  // namespace

void CheckExportTarget(const std::string& dbDir, const std::string& path) {
  std::error_code error;
  const fs::path base = fs::canonical(dbDir, error);
  if (error) return;  // no base folder there: nothing of it to overwrite
  const fs::path target = fs::weakly_canonical(fs::absolute(path, error), error);
  if (!error && target.parent_path() == base) Refuse(path);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) return;
  for (const fs::directory_entry& entry : fs::directory_iterator(base, error)) {
    struct stat own {};
    if (::stat(entry.path().c_str(), &own) == 0 && SameFile(own, existing)) Refuse(path);
  }
}

}  // namespace zorel
