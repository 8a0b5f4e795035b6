// base.csv: the header fields of factory.dat as key/value rows (edition, date, separator).
#include <set>

#include "mkdb/day_number.h"
#include "mkdb/field_values.h"
#include "mkdb/source_readers.h"
#include "mkdb/source_table.h"

namespace zorel::mkdb {

void ReadSettings(const std::string& dir, BaseSource& base, Diagnostics& diag) {
  const TableLayout layout{"base.csv", {"key", "value"}, {"key", "value"}, true};
  const auto table = SourceTable::Read(dir, layout, diag);
  if (!table) return;
  FieldValues values(table->file(), diag);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < table->size(); ++i) {
    const CsvField& keyField = *table->Get(i, "key");
    const CsvField& value = *table->Get(i, "value");
    const std::string key(TrimField(keyField.text));
    if (!seen.insert(key).second) {
      values.Error(keyField, 0, "key", "\"" + key + "\" is given twice");
      continue;
    }
    if (key == "edition") {
      if (auto text = values.Text(value, "value", 255)) base.edition = *text;
    } else if (key == "date") {
      const std::string_view v = TrimField(value.text);
      if (v.empty()) {
        base.baseDay = 0;
      } else if (auto day = ParseIsoDate(v)) {
        base.baseDay = static_cast<std::int32_t>(*day);
      } else {
        values.Error(value, 0, "value",
                     "the date must be written YYYY-MM-DD, found \"" + std::string(v) + "\"");
      }
    } else if (key == "separator") {
      auto text = values.Text(value, "value");
      if (text && text->size() == 1) {
        base.kindSeparator = (*text)[0];
      } else if (text) {
        values.Error(value, 0, "value", "the kind separator must be exactly one character");
      }
    } else {
      values.Error(keyField, 0, "key",
                   "unknown key \"" + key + "\" (the keys are: edition, date, separator)");
    }
  }
}

}  // namespace zorel::mkdb
