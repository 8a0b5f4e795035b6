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

void WriteBase(const std::string& outDir, const Sources& sources);
// Streams the enterprises into factory.dat, then writes the side files and the lists.
void WriteSynthetic(const std::string& outDir, SyntheticBase& base);

}  // namespace zorel::mkdb
