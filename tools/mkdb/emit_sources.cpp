// The CSV and list text files of a synthetic base.
#include "mkdb/emit_sources.h"

#include <filesystem>
#include <stdexcept>

#include "data/file_system.h"
#include "data/file_util.h"
#include "data/replacement_file.h"
#include "data/text1251.h"
#include "mkdb/csv.h"
#include "mkdb/day_number.h"
#include "mkdb/list_source.h"

namespace zorel::mkdb {
namespace {

// UTF-8 for a source file; line breaks inside a field are written as LF (read back as CR LF).
std::string Source(std::string_view cp1251) {
  std::string utf8 = ToUtf8(cp1251);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    out.push_back(utf8[i]);
  }
  return out;
}

// A source file written under a new temporary name and renamed into place at Close.
class OutFile {
 public:
  explicit OutFile(const std::string& path) : path_(path), file_(path) {
    if (!file_.Ok()) throw std::runtime_error("cannot create " + ReasonLine(path, file_.Error()));
  }
  void Write(const std::string& s) { file_.Append(s); }
  void Close() {
    if (!file_.Commit())
      throw std::runtime_error("cannot write " + ReasonLine(path_, file_.Error()));
  }

 private:
  std::string path_;
  ReplacementFile file_;
};

void WriteTable(const std::string& path, const std::string& column,
                const std::vector<std::string>& entries) {
  std::string text;
  AppendCsvRow(text, {column});
  for (const auto& e : entries) AppendCsvRow(text, {Source(e)});
  OutFile f(path);
  f.Write(text);
  f.Close();
}

std::string Entry(const std::vector<std::string>& dict, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > dict.size()) return {};
  return Source(TrimBlanks(dict[static_cast<std::size_t>(position - 1)]));
}

std::string CodeText(const std::array<std::uint32_t, 5>& codes) {
  std::string s;
  for (const auto c : codes) {
    if (c == 0) break;
    if (!s.empty()) s += '.';
    s += std::to_string(c);
  }
  return s;
}

void WriteSettings(const std::string& dir, const BaseSource& b) {
  std::string text;
  AppendCsvRow(text, {"key", "value"});
  AppendCsvRow(text, {"edition", Source(b.edition)});
  AppendCsvRow(text, {"date", b.baseDay > 1 ? FormatIsoDate(b.baseDay) : ""});
  AppendCsvRow(text, {"separator", Source(std::string(1, b.kindSeparator))});
  OutFile f(dir + "base.csv");
  f.Write(text);
  f.Close();
}

void WriteCatalog(const std::string& dir, const BaseSource& b) {
  std::string items;
  AppendCsvRow(items, {"id", "name"});
  for (std::size_t i = 0; i < b.items.size(); ++i) {
    AppendCsvRow(items, {std::to_string(i + 1), Source(b.items[i])});
  }
  OutFile fi(dir + "items.csv");
  fi.Write(items);
  fi.Close();
  std::string classes;
  AppendCsvRow(classes, {"code", "item", "kind", "hidden"});
  for (const auto& c : b.classes) {
    AppendCsvRow(classes, {CodeText(c.codes), c.item ? std::to_string(c.item) : "",
                           Entry(b.kindLabels, c.kind), c.count == 0 ? "1" : ""});
  }
  OutFile fc(dir + "classes.csv");
  fc.Write(classes);
  fc.Close();
}

void AppendEnterprise(std::string& row, const BaseSource& b, const EnterpriseSource& e) {
  std::string products;
  for (const auto& [kind, item] : e.products) {
    if (!products.empty()) products += "; ";
    products += Entry(b.kindLabels, kind) + ":" + std::to_string(item);
  }
  AppendCsvRow(row, {Source(e.name), Entry(b.orgForms, e.orgForm),
                     e.year ? std::to_string(e.year) : "", std::to_string(e.staff), Source(e.index),
                     Entry(b.countries, e.country), Entry(b.regions, e.region), Source(e.cityCode),
                     Source(e.address), Source(e.head), Source(e.phones), Source(e.fax),
                     Source(e.email), Source(e.url), Source(e.advert), products});
}

}  // namespace

void EmitSources(const std::string& dirName, SyntheticBase& base) {
  const std::string dir = WithTrailingSlash(dirName);
  std::filesystem::create_directories(dir + "lists");
  const BaseSource& b = base.Side();
  WriteSettings(dir, b);
  WriteTable(dir + "forms.csv", "name", b.orgForms);
  WriteTable(dir + "regions.csv", "name", b.regions);
  WriteTable(dir + "countries.csv", "name", b.countries);
  WriteTable(dir + "branches.csv", "name", b.branches);
  WriteTable(dir + "kinds.csv", "label", b.kindLabels);
  WriteCatalog(dir, b);

  OutFile f(dir + "enterprises.csv");
  std::string row;
  AppendCsvRow(row, {"name", "form", "year", "staff", "postcode", "country", "region", "phone_code",
                     "address", "head", "phones", "fax", "email", "url", "advert", "products"});
  f.Write(row);
  std::vector<std::string> names;
  EnterpriseSource e;
  while (base.Next(e)) {
    row.clear();
    AppendEnterprise(row, b, e);
    f.Write(row);
    if (base.Produced() <= kCommentedListsUpTo) names.push_back(Source(e.name));
  }
  f.Close();
  const bool commented = base.Produced() <= kCommentedListsUpTo;
  for (const auto& list : base.Lists()) {
    OutFile lf(dir + "lists/" + list.name + ".txt");
    lf.Write(FormatListSource(
        list, commented ? [&](std::int32_t r) { return names[static_cast<std::size_t>(r)]; }
                        : std::function<std::string(std::int32_t)>()));
    lf.Close();
  }
}

}  // namespace zorel::mkdb
