// enterprises.csv: one enterprise a row; the row order gives the record numbers (the first
// row after the header is record 0). Dictionary fields name their entry by its text, products
// are "kind label:item id" pairs separated by semicolons.
#include <charconv>
#include <limits>

#include "data/idx_object.h"
#include "data/record.h"
#include "data/text1251.h"
#include "mkdb/field_values.h"
#include "mkdb/source_readers.h"
#include "mkdb/source_table.h"

namespace zorel::mkdb {
namespace {

constexpr std::int64_t kMaxFactory = 0x7FFFFFFF;  // offsets in the index are 32-bit

const TableLayout kLayout{
    "enterprises.csv",
    {"name", "form", "year", "staff", "postcode", "country", "region", "phone_code", "address",
     "head", "phones", "fax", "email", "url", "advert", "products", "remark"},
    {"name"},
    true};

class RowReader {
 public:
  RowReader(const SourceTable& t, std::size_t row, FieldValues& values)
      : t_(t), row_(row), values_(values) {}

  bool ok() const { return ok_; }

  void Text(const char* column, std::string& to, std::size_t maxBytes = 32767) {
    const CsvField* f = t_.Get(row_, column);
    if (f == nullptr) return;
    if (auto text = values_.Text(*f, column, maxBytes)) {
      to = std::move(*text);
    } else {
      ok_ = false;
    }
  }

  template <typename T>
  void Number(const char* column, T& to) {
    const CsvField* f = t_.Get(row_, column);
    if (f == nullptr) return;
    const auto n = values_.Integer(*f, column, std::numeric_limits<T>::min(),
                                   std::numeric_limits<T>::max(), 0);
    if (n) {
      to = static_cast<T>(*n);
    } else {
      ok_ = false;
    }
  }

  template <typename T>
  void Entry(const char* column, const Dictionary& dict, const char* file, T& to) {
    const CsvField* f = t_.Get(row_, column);
    if (f == nullptr || TrimField(f->text).empty()) return;
    const auto text = values_.Text(*f, column);
    if (!text) {
      ok_ = false;
      return;
    }
    const auto it = dict.positions.find(std::string(TrimField(*text)));
    if (it == dict.positions.end()) {
      values_.Error(*f, 0, column, "no entry \"" + f->text + "\" in " + file);
      ok_ = false;
      return;
    }
    to = static_cast<T>(it->second);
  }

  void Products(const Dictionary& kinds, const ItemIds& items, EnterpriseSource& e) {
    const CsvField* f = t_.Get(row_, "products");
    if (f == nullptr) return;
    const std::string& s = f->text;
    for (std::size_t start = 0; start <= s.size();) {
      std::size_t end = s.find(';', start);
      if (end == std::string::npos) end = s.size();
      if (!Product(*f, start, end, kinds, items, e)) ok_ = false;
      start = end + 1;
    }
  }

 private:
  bool Product(const CsvField& f, std::size_t start, std::size_t end, const Dictionary& kinds,
               const ItemIds& items, EnterpriseSource& e) {
    const std::string_view entry = TrimField(std::string_view(f.text).substr(start, end - start));
    if (entry.empty()) return true;
    const std::size_t at = static_cast<std::size_t>(entry.data() - f.text.data());
    const std::size_t colon = entry.rfind(':');
    if (colon == std::string_view::npos) {
      values_.Error(f, at, "products",
                    "\"" + std::string(entry) + "\" is not of the form kind:item");
      return false;
    }
    std::uint8_t kind = 0;
    const std::string label(TrimField(entry.substr(0, colon)));
    if (!label.empty()) {
      const auto text = FromUtf8(label);
      const auto it = text ? kinds.positions.find(*text) : kinds.positions.end();
      if (it == kinds.positions.end()) {
        values_.Error(f, at, "products", "no kind labelled \"" + label + "\" in kinds.csv");
        return false;
      }
      kind = static_cast<std::uint8_t>(it->second);
    }
    const std::string_view idText = TrimField(entry.substr(colon + 1));
    std::int64_t id = 0;
    const auto [p, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    const auto it = items.find(id);
    if (ec != std::errc() || p != idText.data() + idText.size() || it == items.end()) {
      values_.Error(f, at + colon + 1, "products",
                    "no item with id \"" + std::string(idText) + "\" in items.csv");
      return false;
    }
    e.products.emplace_back(kind, it->second);
    return true;
  }

  const SourceTable& t_;
  std::size_t row_;
  FieldValues& values_;
  bool ok_ = true;
};

std::int64_t RecordSize(const EnterpriseSource& e) {
  return kRecordHeadSize +
         static_cast<std::int64_t>(e.name.size() + e.address.size() + e.head.size() + e.fax.size() +
                                   e.phones.size() + e.advert.size() + e.email.size() +
                                   e.url.size() + kProductEntrySize * e.products.size());
}

}  // namespace

std::optional<std::int64_t> ReadEnterprises(const std::string& dir, const Dictionaries& dicts,
                                            const ItemIds& items, BaseSource& base,
                                            Diagnostics& diag) {
  const auto table = SourceTable::Read(dir, kLayout, diag);
  if (!table) return std::nullopt;
  const auto rows = static_cast<std::int64_t>(table->rowsInFile());
  FieldValues values(table->file(), diag);
  if (table->Has("remark")) base.remarks.emplace();
  std::int64_t total = static_cast<std::int64_t>(EncodeFactoryHeader(base).size());
  for (std::size_t i = 0; i < table->size(); ++i) {
    EnterpriseSource e;
    std::string remark;
    RowReader r(*table, i, values);
    r.Text("name", e.name);
    r.Entry("form", dicts.forms, "forms.csv", e.orgForm);
    r.Number("year", e.year);
    r.Number("staff", e.staff);
    r.Text("postcode", e.index, 6);
    r.Entry("country", dicts.countries, "countries.csv", e.country);
    r.Entry("region", dicts.regions, "regions.csv", e.region);
    r.Text("phone_code", e.cityCode, 7);
    r.Text("address", e.address);
    r.Text("head", e.head);
    r.Text("phones", e.phones);
    r.Text("fax", e.fax);
    r.Text("email", e.email);
    r.Text("url", e.url);
    r.Text("advert", e.advert);
    r.Products(dicts.kinds, items, e);
    r.Text("remark", remark, 65528);
    if (!r.ok()) continue;
    const std::int64_t size = RecordSize(e);
    if (size > kMaxEntry) {
      diag.Error(table->RowPlace(i), "the record takes " + std::to_string(size) +
                                         " bytes, at most " + std::to_string(kMaxEntry) + " fit");
      continue;
    }
    total += size;
    if (total > kMaxFactory) {
      diag.Error(table->RowPlace(i), "factory.dat would grow past 2 GiB here");
      return rows;
    }
    if (!remark.empty()) base.remarks->emplace_back(static_cast<std::int32_t>(i), remark);
    base.enterprises.push_back(std::move(e));
  }
  return rows;
}

}  // namespace zorel::mkdb
