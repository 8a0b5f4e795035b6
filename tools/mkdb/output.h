// Writing a base folder: OUT/db with the data files (no index files: the program builds them)
// and OUT/lists with the list files. Every function throws std::runtime_error (or EChildError
// for a list) naming the file that could not be written; what was written before stays.
#pragma once

#include <string>
#include <vector>

#include "mkdb/sources.h"
#include "mkdb/synthetic.h"

namespace zorel::mkdb {

std::string DbFolder(const std::string& outDir);
std::string ListsFolder(const std::string& outDir);

// Whether OUT already holds a base that a build would overwrite: a factory.dat or a remark.dat
// in OUT/db, or list files in OUT/lists.
bool HoldsBase(const std::string& outDir);
// Writes OUT/db and OUT/lists. A replacement (over a base HoldsBase found) rewrites the data
// files only: the users' remark.dat and list files stay as they are.
void WriteBase(const std::string& outDir, Sources& sources, bool replacement);
// Streams the enterprises into factory.dat, then writes the side files and the lists.
void WriteSynthetic(const std::string& outDir, SyntheticBase& base);

}  // namespace zorel::mkdb
