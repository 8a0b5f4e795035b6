// The search file beside factory.dat: taken when it was built from the data files as they stand
// now (its stamp), its checksum fits and its structure is sound; otherwise built from the records
// and saved in place of whatever stands at its name, once the data files are known not to have
// changed during the build. A folder that cannot take it leaves the searches reading the records.
#pragma once

#include <memory>
#include <string>

#include "data/idx_object.h"
#include "data/replacement_file.h"
#include "data/search_columns.h"

namespace zorel {

// The file's name beside the data file "dir/factory.dat": "dir/factory.search".
std::string SearchFileNameFor(const std::string& dataName);

// The sound search file at path built from the data files `sources` describes, or null.
std::unique_ptr<SearchColumns> FindSearchColumns(const std::string& path,
                                                 const SourceStamp& sources);

// A search file built from the records as the indexes serve them, under a temporary name until
// Save puts it in place.
class SearchFileBuild {
 public:
  SearchFileBuild(const std::string& path, const TIdxObject& factory, const TIdxObject& items,
                  const SourceStamp& sources);
  // The columns of the saved file, or null (the reason logged) when it could not be written.
  std::unique_ptr<SearchColumns> Save();

 private:
  ReplacementFile file_;
  SourceStamp sources_;
  bool written_ = false;
};

}  // namespace zorel
