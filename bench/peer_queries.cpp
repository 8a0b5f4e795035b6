#include "peer_queries.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "data/item_scan.h"

namespace zorel::bench {
namespace {

RecordList Records(Statement& s) {
  RecordList list;
  while (s.Step()) list.push_back(static_cast<std::int32_t>(s.Int(0)));
  return list;
}

// A product of the firm f whose item name contains ?1.
#define PRODUCT_NAME_EXISTS                                       \
  "EXISTS (SELECT 1 FROM product p JOIN item i ON i.id = p.item " \
  "WHERE p.rec = f.rec AND instr(i.lname, ?1) > 0)"

// The record numbers of a list file, head checked; the peer reads the file itself.
std::vector<std::int32_t> ReadListNumbers(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) throw std::runtime_error("cannot read " + path);
  if (bytes.size() < kListHeaderSize || bytes.compare(0, 4, "ISLA") != 0) {
    throw std::runtime_error("not a list file: " + path);
  }
  std::vector<std::int32_t> numbers((bytes.size() - kListHeaderSize) / 4);
  std::memcpy(numbers.data(), bytes.data() + kListHeaderSize, numbers.size() * 4);
  return numbers;
}

}  // namespace

const char* const kNameContainsSql = "SELECT rec FROM firm WHERE instr(lname, ?1) > 0 ORDER BY rec";
const char* const kStaffGreaterSql = "SELECT rec FROM firm WHERE staff > ?1 ORDER BY rec";
const char* const kProductNameContainsSql =
    "SELECT rec FROM firm f WHERE " PRODUCT_NAME_EXISTS " ORDER BY rec";
const char* const kProductNameContainsItemsFirstSql =
    "SELECT DISTINCT p.rec FROM item i CROSS JOIN product p ON p.item = i.id "
    "WHERE instr(i.lname, ?1) > 0 ORDER BY p.rec";
const char* const kThreeJoinedSql =
    "SELECT rec FROM firm f WHERE instr(f.lname, ?2) > 0 AND f.staff > ?3 "
    "AND " PRODUCT_NAME_EXISTS " ORDER BY rec";

std::unique_ptr<SqliteDb> OpenPeer(const std::string& path) {
  auto db = std::make_unique<SqliteDb>(path, false);
  db->Exec(
      "PRAGMA mmap_size=8589934592; PRAGMA cache_size=-2097152; PRAGMA temp_store=MEMORY;"
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  return db;
}

std::size_t PeerOpen(const std::string& path) {
  SqliteDb db(path, false);
  // SQLite reads the schema at the first statement it prepares.
  Statement s = db.Prepare("SELECT rec FROM firm WHERE rec = 0");
  return s.Step() ? 1 : 0;
}

RecordList PeerNameContains(SqliteDb& db, const std::string& fragment) {
  Statement s = db.Prepare(kNameContainsSql);
  s.BindBlob(1, fragment);
  return Records(s);
}

RecordList PeerStaffGreater(SqliteDb& db, std::int32_t staff) {
  Statement s = db.Prepare(kStaffGreaterSql);
  s.Bind(1, staff);
  return Records(s);
}

RecordList PeerProductNameContains(SqliteDb& db, const std::string& fragment) {
  Statement s = db.Prepare(kProductNameContainsSql);
  s.BindBlob(1, fragment);
  return Records(s);
}

// Matching items first, then their products through the item index.
RecordList PeerProductNameContainsItemsFirst(SqliteDb& db, const std::string& fragment) {
  Statement s = db.Prepare(kProductNameContainsItemsFirstSql);
  s.BindBlob(1, fragment);
  return Records(s);
}

RecordList PeerThreeJoined(SqliteDb& db, const std::string& nameFragment, std::int32_t staff,
                           const std::string& productFragment) {
  Statement s = db.Prepare(kThreeJoinedSql);
  s.BindBlob(1, productFragment);
  s.BindBlob(2, nameFragment);
  s.Bind(3, staff);
  return Records(s);
}

// CROSS JOIN keeps the written order (keys, then products by the item index): without
// statistics on the temporary table the planner would scan every product instead.
RecordList PeerProducts(SqliteDb& db, const std::vector<ProductKey>& keys) {
  db.Exec("CREATE TEMP TABLE IF NOT EXISTS keys(kind INTEGER, item INTEGER); DELETE FROM keys;");
  db.Exec("BEGIN");
  {
    Statement insert = db.Prepare("INSERT INTO keys VALUES(?1, ?2)");
    for (const ProductKey& k : keys) {
      insert.Bind(1, k.kind);
      insert.Bind(2, k.item);
      insert.Run();
    }
  }
  db.Exec("COMMIT");
  Statement s = db.Prepare(
      "SELECT DISTINCT p.rec FROM keys k CROSS JOIN product p ON p.item = k.item "
      "WHERE k.kind = 0 OR k.kind = p.kind ORDER BY p.rec");
  return Records(s);
}

std::vector<std::int32_t> PeerItemScan(SqliteDb& db, const std::vector<std::string>& fragments) {
  std::string sql = "SELECT id FROM item WHERE capital = 0 AND (0";
  for (std::size_t i = 0; i < fragments.size(); ++i) {
    sql += " OR instr(lname, ?" + std::to_string(i + 1) + ") > 0";
  }
  sql += ") ORDER BY id LIMIT " + std::to_string(kItemScanLimit);
  Statement s = db.Prepare(sql);
  for (std::size_t i = 0; i < fragments.size(); ++i) {
    s.BindBlob(static_cast<int>(i + 1), fragments[i]);
  }
  return Records(s);
}

std::vector<ProductKey> PeerRootKeys(SqliteDb& db) {
  Statement s = db.Prepare(
      "SELECT kind, item - 1 FROM class WHERE item <> 0 GROUP BY kind, item ORDER BY min(pos)");
  std::vector<ProductKey> keys;
  while (s.Step()) keys.push_back(ProductKey{static_cast<std::uint8_t>(s.Int(0)), s.Int(1)});
  return keys;
}

// The file's numbers go into a table keyed by the number, so both sides of the compound
// select come ordered and SQLite merges them without a temporary sort.
RecordList PeerMerge(SqliteDb& db, const std::string& listFile, MergeMode mode,
                     std::int32_t recordCount) {
  const std::vector<std::int32_t> numbers = ReadListNumbers(listFile);
  db.Exec("DROP TABLE IF EXISTS temp.b; CREATE TEMP TABLE b(rec INTEGER PRIMARY KEY);");
  db.Exec("BEGIN");
  {
    Statement insert = db.Prepare("INSERT OR IGNORE INTO b VALUES(?1)");
    for (std::int32_t v : numbers) {
      insert.Bind(1, v);
      insert.Run();
    }
  }
  db.Exec("COMMIT");
  Statement s =
      db.Prepare(mode == MergeMode::Append
                     ? "SELECT rec FROM list_a UNION SELECT rec FROM b WHERE rec >= 0 AND rec < ?1 "
                       "ORDER BY 1"
                     : "SELECT rec FROM list_a EXCEPT SELECT rec FROM b ORDER BY 1");
  if (mode == MergeMode::Append) s.Bind(1, recordCount);
  return Records(s);
}

}  // namespace zorel::bench
