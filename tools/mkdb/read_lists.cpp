// lists/*.txt of the sources folder: each file becomes the list file of the same name with
// the extension ".lst".
#include <algorithm>
#include <filesystem>

#include "data/file_util.h"
#include "mkdb/list_source.h"
#include "mkdb/source_readers.h"

namespace zorel::mkdb {

std::vector<ListSource> ReadListSources(const std::string& dir,
                                        std::optional<std::int64_t> recordCount,
                                        Diagnostics& diag) {
  namespace fs = std::filesystem;
  std::vector<ListSource> lists;
  const fs::path folder = fs::path(dir) / "lists";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return lists;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  if (ec) diag.Error({folder.string()}, "the folder cannot be read");
  std::sort(files.begin(), files.end());
  for (const auto& path : files) {
    const auto text = ReadWholeFile(path.string());
    if (!text) {
      diag.Error({path.string()}, "the file cannot be read");
      continue;
    }
    auto list = ParseListSource(*text, path.stem().string(), path.string(), recordCount, diag);
    if (list) lists.push_back(std::move(*list));
  }
  return lists;
}

}  // namespace zorel::mkdb
