// The readers of the individual source files, called in this order by ReadSources: each
// fills its part of the base and reports faults; later readers resolve names through the
// dictionaries and item ids that earlier ones collected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "mkdb/diagnostics.h"
#include "mkdb/sources.h"

namespace zorel::mkdb {

// Entries of one dictionary and the 1-based position of each by its text without edge
// blanks (Windows-1251).
struct Dictionary {
  std::vector<std::string> entries;
  std::unordered_map<std::string, int> positions;
};

struct Dictionaries {
  Dictionary forms, regions, countries, branches, kinds;
};

// The 1-based item.dat position of each item id of items.csv.
using ItemIds = std::unordered_map<std::int64_t, std::uint32_t>;

void ReadSettings(const std::string& dir, BaseSource& base, Diagnostics& diag);
Dictionaries ReadDictionaries(const std::string& dir, Diagnostics& diag);
ItemIds ReadItems(const std::string& dir, BaseSource& base, Diagnostics& diag);
void ReadClasses(const std::string& dir, const Dictionary& kinds, const ItemIds& items,
                 BaseSource& base, Diagnostics& diag);
// Gives the number of enterprise rows in the file, faulty ones included; empty when the file
// could not be read as a table.
std::optional<std::int64_t> ReadEnterprises(const std::string& dir, const Dictionaries& dicts,
                                            const ItemIds& items, BaseSource& base,
                                            Diagnostics& diag);
// Every lists/*.txt of the folder, in name order; record numbers must be below recordCount
// (when it is known).
std::vector<ListSource> ReadListSources(const std::string& dir,
                                        std::optional<std::int64_t> recordCount, Diagnostics& diag);

}  // namespace zorel::mkdb
