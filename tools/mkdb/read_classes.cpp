// classes.csv: the classification, one entry a row in table order. The code is the entry's
// path of up to five dotted level codes ("3.12.4"); every entry below level 1 needs an entry
// with its parent's code. Ids are the row numbers; counts follow from the tree (DeriveCounts).
#include <charconv>
#include <limits>
#include <map>
#include <set>

#include "mkdb/class_counts.h"
#include "mkdb/field_values.h"
#include "mkdb/source_readers.h"
#include "mkdb/source_table.h"

namespace zorel::mkdb {
namespace {

using Codes = std::array<std::uint32_t, 5>;

Codes Parent(Codes c) {
  c[static_cast<std::size_t>(CodeDepth(c) - 1)] = 0;
  return c;
}

std::optional<Codes> ParseCode(const CsvField& f, FieldValues& values) {
  const std::string_view v = TrimField(f.text);
  const std::size_t base = static_cast<std::size_t>(v.data() - f.text.data());
  Codes codes{};
  std::size_t level = 0, pos = 0;
  for (;;) {
    std::uint32_t n = 0;
    const auto [end, ec] = std::from_chars(v.data() + pos, v.data() + v.size(), n);
    if (ec != std::errc() || n == 0 || level == 5) {
      values.Error(f, base + pos, "code",
                   "the code must be one to five whole numbers from 1 to 4294967295 joined by "
                   "points, found \"" +
                       std::string(v) + "\"");
      return std::nullopt;
    }
    codes[level++] = n;
    pos = static_cast<std::size_t>(end - v.data());
    if (pos == v.size()) return codes;
    if (v[pos] != '.') {
      values.Error(f, base + pos, "code", "a point or the end of the code is expected");
      return std::nullopt;
    }
    ++pos;
  }
}

}  // namespace

void ReadClasses(const std::string& dir, const Dictionary& kinds, const ItemIds& items,
                 BaseSource& base, Diagnostics& diag) {
  const TableLayout layout{"classes.csv", {"code", "item", "kind", "hidden"}, {"code"}};
  const auto table = SourceTable::Read(dir, layout, diag);
  if (!table) return;
  FieldValues values(table->file(), diag);
  std::set<Codes> known;
  std::vector<bool> hidden;
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < table->size(); ++i) {
    ClassSource c;
    c.id = static_cast<std::uint32_t>(i + 1);
    const auto codes = ParseCode(*table->Get(i, "code"), values);
    if (!codes) continue;
    c.codes = *codes;
    if (const CsvField* f = table->Get(i, "item"); f && !TrimField(f->text).empty()) {
      const auto id =
          values.Integer(*f, "item", 1, std::numeric_limits<std::int32_t>::max(), std::nullopt);
      if (!id) continue;
      const auto it = items.find(*id);
      if (it == items.end()) {
        values.Error(*f, 0, "item", "no item with id " + std::to_string(*id) + " in items.csv");
        continue;
      }
      c.item = it->second;
    }
    if (const CsvField* f = table->Get(i, "kind"); f && !TrimField(f->text).empty()) {
      const auto label = values.Text(*f, "kind");
      if (!label) continue;
      const auto it = kinds.positions.find(std::string(TrimField(*label)));
      if (it == kinds.positions.end()) {
        values.Error(*f, 0, "kind", "no kind labelled \"" + f->text + "\" in kinds.csv");
        continue;
      }
      c.kind = static_cast<std::uint8_t>(it->second);
    }
    bool isHidden = false;
    if (const CsvField* f = table->Get(i, "hidden")) {
      const std::string_view h = TrimField(f->text);
      if (h != "" && h != "0" && h != "1") {
        values.Error(*f, 0, "hidden", "write 1 for a hidden entry, 0 or nothing otherwise");
        continue;
      }
      isHidden = h == "1";
    }
    known.insert(c.codes);
    hidden.push_back(isHidden);
    rows.push_back(i);
    base.classes.push_back(c);
  }
  for (std::size_t k = 0; k < base.classes.size(); ++k) {
    const Codes& codes = base.classes[k].codes;
    if (CodeDepth(codes) > 1 && known.count(Parent(codes)) == 0) {
      std::string parent;
      for (int l = 0; l < CodeDepth(codes) - 1; ++l) {
        parent += (l ? "." : "") + std::to_string(codes[static_cast<std::size_t>(l)]);
      }
      diag.Error(table->RowPlace(rows[k]), "code: no entry has the parent code " + parent);
    }
  }
  DeriveCounts(base.classes, hidden);
}

}  // namespace zorel::mkdb
