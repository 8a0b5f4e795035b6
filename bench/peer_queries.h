// The SQLite peer's side of every measured operation: the same question as the core's
// operation, asked in SQL of the database built by peer_load, with its answer collected into
// memory as the core's is. Fragments are Windows-1251 and already lower-cased.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/list_file.h"
#include "data/product_key.h"
#include "data/record_list.h"
#include "sqlite_db.h"

namespace zorel::bench {

// Opens the peer database for querying with settings that favour it: the file mapped into
// memory like the base, and a page cache large enough for all of it.
std::unique_ptr<SqliteDb> OpenPeer(const std::string& path);

// Opening cost as an application pays it: the connection and its schema read.
std::size_t PeerOpen(const std::string& path);

// The statements of the requisites searches as the functions below run them: ?1 the name
// or product fragment; in the three joined ?1 the product fragment, ?2 the name fragment and
// ?3 the staff threshold.
extern const char* const kNameContainsSql;
extern const char* const kStaffGreaterSql;
extern const char* const kProductNameContainsSql;
extern const char* const kProductNameContainsItemsFirstSql;
extern const char* const kThreeJoinedSql;

RecordList PeerNameContains(SqliteDb& db, const std::string& fragment);
RecordList PeerStaffGreater(SqliteDb& db, std::int32_t staff);
// Enterprises with a product whose item name contains the fragment; one subquery per
// enterprise through the product table's key, as the matcher walks each record's products.
RecordList PeerProductNameContains(SqliteDb& db, const std::string& fragment);
// The same question, letting SQLite start from the matching item names.
RecordList PeerProductNameContainsItemsFirst(SqliteDb& db, const std::string& fragment);
RecordList PeerThreeJoined(SqliteDb& db, const std::string& nameFragment, std::int32_t staff,
                           const std::string& productFragment);

// Enterprises that reference one of the keys (kind 0 = any kind), in record order.
RecordList PeerProducts(SqliteDb& db, const std::vector<ProductKey>& keys);

// Item numbers whose name does not start with a capital and contains one of the fragments,
// at most the scan's limit of them.
std::vector<std::int32_t> PeerItemScan(SqliteDb& db, const std::vector<std::string>& fragments);

// The classification root's product keys: every entry with an item, in entry order, once.
std::vector<ProductKey> PeerRootKeys(SqliteDb& db);

// The list list_a (the whole base) merged with a list file's numbers that lie in
// 0..recordCount-1: their union (append) or difference (subtract), ascending.
RecordList PeerMerge(SqliteDb& db, const std::string& listFile, MergeMode mode,
                     std::int32_t recordCount);

}  // namespace zorel::bench
