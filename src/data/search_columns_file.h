// The search file beside factory.dat: taken when its stamp fits the data file and the index,
// otherwise built from the records and saved in its place, as the index files are. A folder
// that cannot take it leaves the searches reading the records.
#pragma once

#include <memory>
#include <string>

#include "data/idx_object.h"
#include "data/search_columns.h"

namespace zorel {

// The file's name beside the data file "dir/factory.dat": "dir/factory.search".
std::string SearchFileNameFor(const std::string& dataName);

// The checked columns for the data file as the index serves it, or null (the reason logged)
// when there is no sound file and none can be saved.
std::unique_ptr<SearchColumns> OpenSearchColumns(const std::string& dataName,
                                                 const TIdxObject& factory, std::int32_t items);

}  // namespace zorel
