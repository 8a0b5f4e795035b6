// forms.csv, regions.csv, countries.csv, branches.csv and kinds.csv: one entry a row, in the
// order that the base numbers them. Entries that records name must differ from each other
// once edge blanks are dropped, so that a name picks one entry.
#include "mkdb/field_values.h"
#include "mkdb/source_readers.h"
#include "mkdb/source_table.h"

namespace zorel::mkdb {
namespace {

struct DictionaryLayout {
  const char* file;
  const char* column;
  std::size_t maxEntries;  // what the record's field can number
  std::size_t maxLength;
  bool unique;
  const char* forbidden = "";  // characters that would break the references to entries
};

Dictionary ReadDictionary(const std::string& dir, const DictionaryLayout& d, Diagnostics& diag) {
  Dictionary dict;
  const auto table = SourceTable::Read(dir, {d.file, {d.column}, {d.column}, false}, diag);
  if (!table) return dict;
  FieldValues values(table->file(), diag);
  for (std::size_t i = 0; i < table->size(); ++i) {
    const CsvField& f = *table->Get(i, d.column);
    auto text = values.Text(f, d.column, d.maxLength);
    if (!text) continue;
    if (dict.entries.size() == d.maxEntries) {
      values.Error(f, 0, d.column,
                   "more than " + std::to_string(d.maxEntries) + " entries cannot be numbered");
      break;
    }
    if (const auto at = f.text.find_first_of(d.forbidden); at != std::string::npos) {
      values.Error(f, at, d.column, "\"" + f.text.substr(at, 1) + "\" is not allowed here");
      continue;
    }
    const std::string key(TrimField(*text));
    if (d.unique && key.empty()) {
      values.Error(f, 0, d.column, "the entry is empty");
      continue;
    }
    if (d.unique && !dict.positions.emplace(key, dict.entries.size() + 1).second) {
      values.Error(f, 0, d.column, "\"" + f.text + "\" is already an entry");
      continue;
    }
    dict.entries.push_back(std::move(*text));
  }
  return dict;
}

}  // namespace

Dictionaries ReadDictionaries(const std::string& dir, Diagnostics& diag) {
  Dictionaries d;
  d.forms = ReadDictionary(dir, {"forms.csv", "name", 127, 32767, true}, diag);
  d.regions = ReadDictionary(dir, {"regions.csv", "name", 32767, 32767, true}, diag);
  d.countries = ReadDictionary(dir, {"countries.csv", "name", 32767, 32767, true}, diag);
  d.branches = ReadDictionary(dir, {"branches.csv", "name", 1000000, 32767, false}, diag);
  d.kinds = ReadDictionary(dir, {"kinds.csv", "label", 255, 5, true, ";"}, diag);
  return d;
}

}  // namespace zorel::mkdb
