#include "peer_load.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "data/class_object.h"
#include "data/data_module.h"
#include "data/record.h"
#include "data/text1251.h"
#include "sqlite_db.h"

namespace zorel::bench {
namespace {

// Raise when the schema or the loading rules change, so old peer files are rebuilt.
constexpr int kSchemaVersion = 1;

// Search columns first: SQLite decodes a row's columns up to the last one a query reads.
constexpr const char* kSchema = R"(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE firm(
  rec INTEGER PRIMARY KEY, lname BLOB, staff INTEGER, name BLOB, orgform INTEGER,
  year INTEGER, region INTEGER, country INTEGER, postindex BLOB, citycode BLOB, address BLOB,
  head BLOB, fax BLOB, phones BLOB, advert BLOB, email BLOB, url BLOB);
CREATE TABLE product(
  rec INTEGER, pos INTEGER, kind INTEGER, item INTEGER, PRIMARY KEY(rec, pos)) WITHOUT ROWID;
CREATE TABLE item(id INTEGER PRIMARY KEY, capital INTEGER, lname BLOB, name BLOB);
CREATE TABLE class(
  pos INTEGER PRIMARY KEY, id INTEGER, item INTEGER, code1 INTEGER, code2 INTEGER,
  code3 INTEGER, code4 INTEGER, code5 INTEGER, count INTEGER, kind INTEGER);
CREATE TABLE list_a(rec INTEGER PRIMARY KEY);
)";

// Built after the rows are in, which is faster than keeping them up to date while loading.
// By item for the one-product search; (rec, pos) is the product table's own key.
constexpr const char* kIndexes = R"(
CREATE INDEX product_by_item ON product(item, rec, kind);
)";

std::string_view Cut(std::string_view field) { return CutAtZero(field); }

void LoadFirms(const Tdm& dm, SqliteDb& db) {
  Statement firm = db.Prepare(
      "INSERT INTO firm VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, "
      "?15, ?16, ?17)");
  Statement product = db.Prepare("INSERT INTO product VALUES(?1, ?2, ?3, ?4)");
  Statement listA = db.Prepare("INSERT INTO list_a VALUES(?1)");
  std::string lname;
  for (std::int32_t rec = 0; rec < dm.RecordCount(); ++rec) {
    const RecordView r = dm.GetRecordView(rec);
    listA.Bind(1, rec);
    listA.Run();
    if (!r.valid()) continue;  // the core skips it as well: no row, no match
    const std::string_view name = Cut(r.Field(VarField::Name));
    lname = Lower1251(name);
    firm.Bind(1, rec);
    firm.BindBlob(2, lname);
    firm.Bind(3, r.Staff());
    firm.BindBlob(4, name);
    firm.Bind(5, r.OrgForm());
    firm.Bind(6, r.Year());
    firm.Bind(7, r.Region());
    firm.Bind(8, r.Country());
    firm.BindBlob(9, Cut(r.IndexRaw()));
    firm.BindBlob(10, Cut(r.CityCodeRaw()));
    firm.BindBlob(11, Cut(r.Field(VarField::Address)));
    firm.BindBlob(12, Cut(r.Field(VarField::Head)));
    firm.BindBlob(13, Cut(r.Field(VarField::Fax)));
    firm.BindBlob(14, Cut(r.Field(VarField::Phones)));
    firm.BindBlob(15, Cut(r.Field(VarField::Advert)));
    firm.BindBlob(16, Cut(r.Field(VarField::EMail)));
    firm.BindBlob(17, Cut(r.Field(VarField::Url)));
    firm.Run();
    const std::size_t n = r.ProductCount();
    for (std::size_t i = 0; i < n; ++i) {
      const ProductEntry e = r.Product(i);
      product.Bind(1, rec);
      product.Bind(2, static_cast<std::int64_t>(i));
      product.Bind(3, e.kind);
      product.Bind(4, static_cast<std::int64_t>(e.item) - 1);  // 0-based, as in product keys
      product.Run();
    }
  }
}

void LoadItems(const Tdm& dm, SqliteDb& db) {
  Statement item = db.Prepare("INSERT INTO item VALUES(?1, ?2, ?3, ?4)");
  std::string lname;
  for (std::int32_t i = 0; i < dm.ItemCount(); ++i) {
    const std::string_view name = dm.ItemName(i);
    lname = Lower1251(name);
    item.Bind(1, i);
    item.Bind(2, !name.empty() && IsScanCapital(static_cast<std::uint8_t>(name[0])) ? 1 : 0);
    item.BindBlob(3, lname);
    item.BindBlob(4, name);
    item.Run();
  }
}

void LoadClasses(const Tdm& dm, SqliteDb& db) {
  Statement cls = db.Prepare("INSERT INTO class VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
  for (std::int32_t pos = 0;; ++pos) {
    const std::uint8_t* p = dm.GetClassEntry(pos);
    if (p == nullptr) break;
    const ClassEntry e = ClassEntry::Decode(p);
    cls.Bind(1, pos);
    cls.Bind(2, e.id);
    cls.Bind(3, e.item);
    for (int level = 0; level < 5; ++level) cls.Bind(4 + level, e.codes[level]);
    cls.Bind(9, e.count);
    cls.Bind(10, e.kind);
    cls.Run();
  }
}

}  // namespace

std::string BaseStamp(const Tdm& dm) {
  struct stat st {};
  stat(dm.FactoryName().c_str(), &st);
  std::ostringstream stamp;
  stamp << "v" << kSchemaVersion << " records " << dm.RecordCount() << " items " << dm.ItemCount()
        << " bytes " << st.st_size << " mtime " << st.st_mtim.tv_sec;
  return stamp.str();
}

bool PeerDatabaseCurrent(const std::string& path, const std::string& stamp) {
  if (!std::filesystem::exists(path)) return false;
  try {
    SqliteDb db(path, false);
    Statement s = db.Prepare("SELECT value FROM meta WHERE key = 'stamp'");
    return s.Step() && s.Blob(0) == stamp;
  } catch (const std::runtime_error&) {
    return false;  // not a database of ours: rebuild it
  }
}

double BuildPeerDatabase(const Tdm& dm, const std::string& path, const std::string& stamp) {
  const auto start = std::chrono::steady_clock::now();
  const std::string temp = path + ".tmp";
  std::filesystem::remove(temp);
  {
    SqliteDb db(temp, true);
    // Loading settings: nothing of a half-built file is worth protecting.
    db.Exec(
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
        "PRAGMA cache_size=-262144; PRAGMA temp_store=MEMORY;");
    db.Exec(kSchema);
    db.Exec("BEGIN");
    LoadFirms(dm, db);
    LoadItems(dm, db);
    LoadClasses(dm, db);
    db.Exec(kIndexes);
    Statement meta = db.Prepare("INSERT INTO meta VALUES('stamp', ?1)");
    meta.BindBlob(1, stamp);
    meta.Run();
    db.Exec("COMMIT");
    db.Exec("ANALYZE");
  }
  std::filesystem::rename(temp, path);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace zorel::bench
