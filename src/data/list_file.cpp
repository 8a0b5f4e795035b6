#include "data/list_file.h"

#include "data/errors.h"

namespace zorel {
// TEMPORARY placeholder, replaced by the real list files.
LoadedList LoadListFile(const std::string& path, std::int32_t) {
  throw EChildError("TEMPORARY " + path);
}
void SaveListFile(const std::string& path, const ListFileHeader&, const RecordList&) {
  throw EChildError("TEMPORARY " + path);
}
ListFileStatus MergeListFile(RecordList&, const std::string& path, MergeMode, std::int32_t) {
  throw EChildError("TEMPORARY " + path);
}
}  // namespace zorel
