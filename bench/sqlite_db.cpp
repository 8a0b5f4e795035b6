#include "sqlite_db.h"

#include <sqlite3.h>

#include <stdexcept>

namespace zorel::bench {
namespace {

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
  throw std::runtime_error("SQLite: " + std::string(what) + ": " + sqlite3_errmsg(db));
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK) {
    Fail(db, sql);
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) Fail(db_, "bind");
}

void Statement::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob still has to be a blob, not NULL: pass a valid pointer.
  const char* data = bytes.empty() ? "" : bytes.data();
  if (sqlite3_bind_blob(stmt_, index, data, static_cast<int>(bytes.size()), SQLITE_STATIC) !=
      SQLITE_OK) {
    Fail(db_, "bind");
  }
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, sqlite3_sql(stmt_));
}

void Statement::Run() {
  while (Step()) {
  }
  Reset();
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view Statement::Blob(int column) const {
  const void* p = sqlite3_column_blob(stmt_, column);
  const int n = sqlite3_column_bytes(stmt_, column);
  return p == nullptr ? std::string_view() : std::string_view(static_cast<const char*>(p), n);
}

SqliteDb::SqliteDb(const std::string& path, bool create) {
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("SQLite: cannot open " + path + ": " + message);
  }
}

SqliteDb::~SqliteDb() { sqlite3_close(db_); }

void SqliteDb::Exec(std::string_view sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error != nullptr ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error("SQLite: " + std::string(sql) + ": " + message);
  }
}

std::int64_t SqliteDb::QueryInt(std::string_view sql) {
  Statement s(db_, sql);
  if (!s.Step()) throw std::runtime_error("SQLite: no row from " + std::string(sql));
  return s.Int(0);
}

}  // namespace zorel::bench
