// items.csv: the item names of item.dat in file order, each with an id by which classes.csv
// and the enterprises' products name it.
#include <limits>

#include "mkdb/field_values.h"
#include "mkdb/source_readers.h"
#include "mkdb/source_table.h"

namespace zorel::mkdb {

ItemIds ReadItems(const std::string& dir, BaseSource& base, Diagnostics& diag) {
  ItemIds ids;
  const auto table = SourceTable::Read(dir, {"items.csv", {"id", "name"}, {"id", "name"}}, diag);
  if (!table) return ids;
  FieldValues values(table->file(), diag);
  for (std::size_t i = 0; i < table->size(); ++i) {
    const CsvField& idField = *table->Get(i, "id");
    const auto id =
        values.Integer(idField, "id", 1, std::numeric_limits<std::int32_t>::max(), std::nullopt);
    // An entry longer than the reader's buffer (32768 bytes with its length word) is not served.
    auto name = values.Text(*table->Get(i, "name"), "name", 32766);
    if (!id || !name) continue;
    if (!ids.emplace(*id, static_cast<std::uint32_t>(base.items.size() + 1)).second) {
      values.Error(idField, 0, "id", "item " + std::to_string(*id) + " is already defined");
      continue;
    }
    base.items.push_back(std::move(*name));
  }
  return ids;
}

}  // namespace zorel::mkdb
