// What the readable sources describe: the whole base (header fields, dictionaries, items,
// classification, enterprises, optional remarks) and the list files to write beside it.
// The same model is filled by the source reader and by the synthetic generator.
#pragma once

#include <string>
#include <vector>

#include "data/list_file.h"
#include "data/record_list.h"
#include "dbwriter/db_writer.h"
#include "mkdb/diagnostics.h"

namespace zorel::mkdb {

struct ListSource {
  std::string name;  // the list file's name without ".lst" (UTF-8)
  ListFileHeader header;
  RecordList records;
};

// Panel sizes of a list whose source names none.
inline constexpr std::int16_t kDefaultLowerHeight = 200;
inline constexpr std::int16_t kDefaultAdvertWidth = 250;
inline constexpr std::int16_t kDefaultWindowWidth = 700;
inline constexpr std::int16_t kDefaultWindowHeight = 450;
ListFileHeader DefaultListHeader();

struct Sources {
  BaseSource base;
  std::vector<ListSource> lists;
};

// Reads every source file of the folder; faults are reported to diag, and the result is
// meaningful only when diag has none.
Sources ReadSources(const std::string& dir, Diagnostics& diag);

}  // namespace zorel::mkdb
