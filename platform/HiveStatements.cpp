#include "platform/HiveStatements.h"

#include <sqlite3.h>

#include <utility>

namespace rizorivu {

int HiveStatements::prepare(sqlite3* db) {
    const std::pair<Statement*, const char*> statements[] = {
        {&begin, "BEGIN IMMEDIATE"},
        {&commit, "COMMIT"},
        {&rollback, "ROLLBACK"},
        {&keyExists, "SELECT 1 FROM hive_keys WHERE path = ?1"},
        {&insertKey, "INSERT OR IGNORE INTO hive_keys (path, parent, name) VALUES (?1, ?2, ?3)"},
        {&selectValue, "SELECT type, data FROM hive_values WHERE key_path = ?1 AND name = ?2"},
        {&upsertValue,
         "INSERT INTO hive_values (key_path, name, display, type, data) "
         "VALUES (?1, ?2, ?3, ?4, ?5) "
         "ON CONFLICT (key_path, name) DO UPDATE SET type = excluded.type, data = excluded.data"},
        {&deleteValue, "DELETE FROM hive_values WHERE key_path = ?1 AND name = ?2"},
        {&deleteKey, "DELETE FROM hive_keys WHERE path = ?1"},
        {&deleteSubKeys, "DELETE FROM hive_keys WHERE path >= ?1 AND path < ?2"},
        {&deleteKeyValues, "DELETE FROM hive_values WHERE key_path = ?1"},
        {&deleteSubKeyValues, "DELETE FROM hive_values WHERE key_path >= ?1 AND key_path < ?2"},
        {&childNames, "SELECT name FROM hive_keys WHERE parent = ?1"},
        {&valueNames, "SELECT display FROM hive_values WHERE key_path = ?1"},
    };
    for (const auto& [stmt, sql] : statements) {
        sqlite3_stmt* raw = nullptr;
        // PERSISTENT: these live as long as the connection, so SQLite keeps them out of its
        // short-lived lookaside memory.
        const int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
        stmt->reset(raw);
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
}

}  // namespace rizorivu
