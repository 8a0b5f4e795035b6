// A thin owner of an SQLite connection and its prepared statements, for the benchmark's peer.
// Every failure throws std::runtime_error with SQLite's message; blobs and texts bound with
// BindBlob must outlive the statement's next Step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zorel::bench {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1.
  void Bind(int index, std::int64_t value);
  void BindBlob(int index, std::string_view bytes);
  // True while a row is there.
  bool Step();
  // Runs a statement that gives no rows, then makes it ready to run again.
  void Run();
  void Reset();

  std::int64_t Int(int column) const;
  std::string_view Blob(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteDb {
 public:
  // Opens (or, with create, creates) the database file.
  SqliteDb(const std::string& path, bool create);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  void Exec(std::string_view sql);
  Statement Prepare(std::string_view sql) { return Statement(db_, sql); }
  // The first column of the first row of a query that gives one.
  std::int64_t QueryInt(std::string_view sql);
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace zorel::bench
