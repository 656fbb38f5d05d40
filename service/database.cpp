#include "database.h"

#include <sqlite3.h>

#include <cstdio>

namespace qv::service {

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "qv-service: SQL prepare failed: %s\n", sqlite3_errmsg(db));
    ok_ = false;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Bind(int index, std::string_view text) {
  if (ok_ && sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT) != SQLITE_OK) {
    ok_ = false;
  }
  return *this;
}

Statement& Statement::Bind(int index, long long value) {
  if (ok_ && sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) ok_ = false;
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (ok_ && sqlite3_bind_null(stmt_, index) != SQLITE_OK) ok_ = false;
  return *this;
}

bool Statement::Step() {
  if (!ok_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) {
    std::fprintf(stderr, "qv-service: SQL step failed: %s\n", sqlite3_errmsg(db_));
    ok_ = false;
  }
  return false;
}

bool Statement::Run() {
  while (Step()) {
  }
  return ok_;
}

std::string Statement::Text(int column) const {
  const unsigned char* p = sqlite3_column_text(stmt_, column);
  if (!p) return {};
  return std::string(reinterpret_cast<const char*>(p),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

long long Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::unique_ptr<Database> Database::Open(const std::string& path, std::string* error) {
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    if (error) *error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  // The SIP server reads the same file: wait for its locks rather than fail.
  sqlite3_busy_timeout(db, 5000);
  std::unique_ptr<Database> result(new Database(db));
  result->Exec("PRAGMA foreign_keys = ON;");
  return result;
}

Database::~Database() { sqlite3_close(db_); }

bool Database::Exec(std::string_view sql) {
  std::string text(sql);
  char* message = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::fprintf(stderr, "qv-service: SQL failed: %s\n", message ? message : "?");
    sqlite3_free(message);
    return false;
  }
  return true;
}

bool Database::TableExists(std::string_view name) {
  Statement st(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  st.Bind(1, name);
  return st.Step();
}

long long Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::Changes() const { return sqlite3_changes(db_); }

std::string Database::LastError() const { return sqlite3_errmsg(db_); }

Transaction::Transaction(Database& db) : db_(db) { begun_ = db_.Exec("BEGIN IMMEDIATE;"); }

Transaction::~Transaction() {
  if (begun_ && !done_) db_.Exec("ROLLBACK;");
}

bool Transaction::Commit() {
  if (!begun_ || done_) return false;
  done_ = db_.Exec("COMMIT;");
  return done_;
}

}  // namespace qv::service
