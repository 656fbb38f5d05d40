// The tables of the service and, beside them, the SIP server's tables
// (its "subscriber" table is the SIP side of every account).
#pragma once

namespace qv::service {

class Database;

// Creates whatever is missing; existing tables and rows are kept.
bool CreateSchema(Database& db);

}  // namespace qv::service
