#pragma once

#include "platform/StatementUse.h"

struct sqlite3;

namespace rizorivu {

// Every statement a hive runs, prepared once when the hive opens and kept for the life of its
// connection: parsing SQL on each read would cost more than the read itself. SQLite prepares
// a kept statement again by itself when the schema changes under it (another process
// creating the tables, say), so a kept statement never runs against a stale schema.
struct HiveStatements {
    Statement begin;
    Statement commit;
    Statement rollback;
    Statement keyExists;
    Statement insertKey;
    Statement selectValue;
    Statement upsertValue;
    Statement deleteValue;
    Statement deleteKey;
    Statement deleteSubKeys;
    Statement deleteKeyValues;
    Statement deleteSubKeyValues;
    Statement childNames;
    Statement valueNames;

    // Prepares every statement on `db`; on an existing hive this also proves that its tables
    // have the columns this version expects. An SQLite result code.
    int prepare(sqlite3* db);
};

}  // namespace rizorivu
