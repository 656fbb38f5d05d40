// A small wrapper over one SQLite connection. Every value goes through
// bound parameters; SQL text is never assembled from input.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qv::service {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters are numbered from 1, as in SQLite.
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, long long value);
  Statement& BindNull(int index);

  // Runs to the next row: true while there is a row to read.
  bool Step();
  // Runs to the end; true when the statement completed without error.
  bool Run();

  std::string Text(int column) const;
  long long Int(int column) const;
  bool IsNull(int column) const;

  // False once preparing, binding or stepping has failed.
  bool ok() const { return ok_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = true;
};

class Database {
 public:
  // Opens (creating if needed) the file; null and a message on failure.
  static std::unique_ptr<Database> Open(const std::string& path, std::string* error);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements without parameters (schema text).
  bool Exec(std::string_view sql);
  bool TableExists(std::string_view name);
  long long LastInsertId() const;
  int Changes() const;
  std::string LastError() const;

  sqlite3* handle() const { return db_; }

  // One operation at a time on the connection: callers hold this lock for
  // the whole of a request's reads and writes.
  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

 private:
  explicit Database(sqlite3* db) : db_(db) {}
  sqlite3* db_;
  std::mutex mutex_;
};

// BEGIN IMMEDIATE on construction; ROLLBACK unless Commit() succeeded.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool ok() const { return begun_; }
  bool Commit();

 private:
  Database& db_;
  bool begun_ = false;
  bool done_ = false;
};

}  // namespace qv::service
