#include "schema.h"

#include <fstream>
#include <sstream>
#include <string>

#include "database.h"

namespace qv::service {
namespace {

// Accounts. Money is held in fen (1/100 yuan) to stay exact.
//   kind: 0 trial subscriber (callback only), 1 regular subscriber
//   status: 'active', 'frozen' or 'closed'
//   valid_until: last day the number may be used, 'YYYY-MM-DD'
//   package: '' or a product code 'product:N'; package_minutes: minutes left;
//   package_expires: 'YYYY-MM-DD HH:MM:SS' or ''
constexpr const char* kServiceTables = R"SQL(
CREATE TABLE IF NOT EXISTS accounts (
  uid INTEGER PRIMARY KEY,
  phone TEXT NOT NULL UNIQUE,
  password TEXT NOT NULL,
  kind INTEGER NOT NULL DEFAULT 0,
  status TEXT NOT NULL DEFAULT 'active',
  balance_fen INTEGER NOT NULL DEFAULT 0,
  valid_until TEXT NOT NULL DEFAULT '',
  package TEXT NOT NULL DEFAULT '',
  package_minutes INTEGER NOT NULL DEFAULT 0,
  package_expires TEXT NOT NULL DEFAULT '',
  agent_id TEXT NOT NULL DEFAULT '',
  created TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE TABLE IF NOT EXISTS contacts (
  id INTEGER PRIMARY KEY,
  uid INTEGER NOT NULL REFERENCES accounts(uid) ON DELETE CASCADE,
  name TEXT NOT NULL,
  phone TEXT NOT NULL,
  cornet TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS contacts_uid_idx ON contacts (uid);
CREATE TABLE IF NOT EXISTS cards (
  number TEXT PRIMARY KEY,
  password TEXT NOT NULL,
  kind TEXT NOT NULL,
  value_fen INTEGER NOT NULL,
  used_by INTEGER,
  used_at TEXT
);
CREATE TABLE IF NOT EXISTS recharges (
  id INTEGER PRIMARY KEY,
  uid INTEGER NOT NULL,
  goods TEXT NOT NULL,
  card_kind TEXT NOT NULL,
  card_number TEXT NOT NULL,
  amount_fen INTEGER NOT NULL,
  at TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE TABLE IF NOT EXISTS callbacks (
  id INTEGER PRIMARY KEY,
  uid INTEGER NOT NULL,
  called TEXT NOT NULL,
  at TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))
);
CREATE TABLE IF NOT EXISTS notices (
  sc TEXT PRIMARY KEY,
  update_addr TEXT NOT NULL DEFAULT '',
  enabled INTEGER NOT NULL DEFAULT 0
);
)SQL";

// The SIP server's own layout, as its package ships it; used only when the
// package's files are not at hand.
constexpr const char* kVersionTable = R"SQL(
CREATE TABLE version (
    id INTEGER PRIMARY KEY NOT NULL,
    table_name VARCHAR(32) NOT NULL,
    table_version INTEGER DEFAULT 0 NOT NULL,
    CONSTRAINT version_table_name_idx UNIQUE (table_name)
);
INSERT INTO version (table_name, table_version) values ('version','1');
)SQL";

constexpr const char* kSubscriberTable = R"SQL(
CREATE TABLE subscriber (
    id INTEGER PRIMARY KEY NOT NULL,
    username VARCHAR(64) DEFAULT '' NOT NULL,
    domain VARCHAR(64) DEFAULT '' NOT NULL,
    password VARCHAR(64) DEFAULT '' NOT NULL,
    ha1 VARCHAR(128) DEFAULT '' NOT NULL,
    ha1b VARCHAR(128) DEFAULT '' NOT NULL,
    CONSTRAINT subscriber_account_idx UNIQUE (username, domain)
);
CREATE INDEX subscriber_username_idx ON subscriber (username);
INSERT INTO version (table_name, table_version) values ('subscriber','7');
)SQL";

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool CreateSipTable(Database& db, const char* table, const char* file, const char* fallback) {
  if (db.TableExists(table)) return true;
  std::string sql = ReadFile(file);
  return db.Exec(sql.empty() ? std::string(fallback) : sql);
}

}  // namespace

bool CreateSchema(Database& db) {
  if (!db.Exec("PRAGMA journal_mode = WAL;")) return false;
  if (!db.Exec(kServiceTables)) return false;
  return CreateSipTable(db, "version", "/usr/share/kamailio/db_sqlite/standard-create.sql",
                        kVersionTable) &&
         CreateSipTable(db, "subscriber", "/usr/share/kamailio/db_sqlite/auth_db-create.sql",
                        kSubscriberTable);
}

}  // namespace qv::service
