#include "platform/HiveConnection.h"

#include <sqlite3.h>

#include <unistd.h>
#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace rizorivu {

namespace {

constexpr int kSchemaVersion = 1;

// Long enough to ride out another process's write or checkpoint, short enough that a wedged
// peer does not freeze the tray for good.
constexpr int kBusyTimeoutMs = 5000;

// quick_check reads every page once. A hive holds a few hundred settings (tens of KiB, well
// under a millisecond to check); above this size the check would slow every start noticeably,
// so a hive that large relies on the errors SQLite reports while it is used.
constexpr std::int64_t kQuickCheckMaxPages = 2048;

// Paths and names are stored folded (upper-cased) for lookups, next to the spelling they were
// first created with. Descendants of key P are exactly the paths in [P + '\', P + ']'), which
// lets the primary keys serve recursive deletion without a separate index.
// WITHOUT ROWID: every lookup is by the text key, so the table is its own index and a read is
// a single b-tree descent.
constexpr const char* kCreateSchema = R"sql(
CREATE TABLE hive_keys (
    path   TEXT NOT NULL PRIMARY KEY,
    parent TEXT NOT NULL,
    name   TEXT NOT NULL
) WITHOUT ROWID;
CREATE INDEX hive_keys_by_parent ON hive_keys (parent, name);
CREATE TABLE hive_values (
    key_path TEXT NOT NULL,
    name     TEXT NOT NULL,
    display  TEXT NOT NULL,
    type     INTEGER NOT NULL CHECK (type IN (1, 4)),
    data     NOT NULL,
    PRIMARY KEY (key_path, name)
) WITHOUT ROWID;
PRAGMA user_version = 1;
)sql";

int exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Runs a one-off query that yields a single row (a pragma or a count) and hands its first
// column to `take`. These run only while a hive opens, so they are not kept.
template <typename Take>
int queryOne(sqlite3* db, const char* sql, Take take) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const Statement stmt(raw);
    if (rc != SQLITE_OK) {
        return rc;
    }
    rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW) {
        take(raw);
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
}

int queryInt(sqlite3* db, const char* sql, std::int64_t& out) {
    return queryOne(db, sql, [&out](sqlite3_stmt* row) { out = sqlite3_column_int64(row, 0); });
}

int queryText(sqlite3* db, const char* sql, std::string& out) {
    return queryOne(db, sql, [&out](sqlite3_stmt* row) {
        const auto* text = sqlite3_column_text(row, 0);
        out.assign(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    });
}

// Puts the hive in WAL mode. Switching needs the file to itself for a moment, and SQLite reports
// a peer's lock at once instead of waiting for it, so two processes creating the hive together
// retry for a while. Where WAL is impossible (no shared memory on the file system) the hive stays
// in rollback mode, which with synchronous=FULL is just as durable, only less concurrent.
int enableWal(sqlite3* db) {
    std::string mode;
    int rc = queryText(db, "PRAGMA journal_mode", mode);
    if (rc != SQLITE_OK || mode == "wal") {
        return rc;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        rc = queryText(db, "PRAGMA journal_mode = WAL", mode);
        if ((rc & 0xff) != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline) {
            return rc;
        }
        sqlite3_sleep(5);
    }
}

// Creates the tables in an empty hive. Another process may be doing the same at this moment,
// so the check and the creation share one write transaction.
int initialiseSchema(sqlite3* db) {
    int rc = exec(db, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) {
        return rc;
    }
    std::int64_t version = 0;
    rc = queryInt(db, "PRAGMA user_version", version);
    if (rc == SQLITE_OK && version == 0) {
        rc = exec(db, kCreateSchema);
    }
    if (rc == SQLITE_OK) {
        rc = exec(db, "COMMIT");
    }
    if (rc != SQLITE_OK) {
        exec(db, "ROLLBACK");
    }
    return rc;
}

}  // namespace

void HiveConnection::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

HiveConnection::Opened HiveConnection::withStatements(Connection conn, bool checkedFile) {
    HiveConnection hive;
    hive.conn_ = std::move(conn);
    if (const int rc = hive.statements_.prepare(hive.db()); rc != SQLITE_OK) {
        return Opened::failure(checkedFile ? HiveOpenFailure::ofCheckedFile(hive.db(), rc)
                                           : HiveOpenFailure::from(hive.db(), rc));
    }
    return hive;
}

namespace {

// Opens a connection with the settings every hive shares. Our own mutex guards each
// connection, so SQLite's per-connection one is redundant (NOMUTEX).
template <typename Connection>
Connection openConnection(const char* name, int& rc) {
    sqlite3* raw = nullptr;
    rc = sqlite3_open_v2(name, &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection conn(raw);
    if (raw != nullptr) {
        sqlite3_extended_result_codes(raw, 1);
        // The hive is ours alone: refuse statements that could corrupt it even by mistake, and
        // never run functions named in a schema someone else may have written.
        sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    }
    return conn;
}

}  // namespace

HiveConnection::Opened HiveConnection::openFile(const std::filesystem::path& path) {
    int rc = SQLITE_OK;
    Connection conn = openConnection<Connection>(path.c_str(), rc);
    sqlite3* db = conn.get();
    if (rc != SQLITE_OK) {
        return Opened::failure(HiveOpenFailure::from(db, rc));
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (sqlite3_db_readonly(db, "main") == 1) {
        return Opened::failure({HiveOpenFailure::Verdict::Unavailable, "the file is read-only"});
    }

    std::int64_t tables = 0;
    std::int64_t version = 0;
    if ((rc = queryInt(db, "SELECT count(*) FROM sqlite_schema", tables)) != SQLITE_OK ||
        (rc = queryInt(db, "PRAGMA user_version", version)) != SQLITE_OK) {
        HiveOpenFailure failure = HiveOpenFailure::from(db, rc);
        // The first read also opens the log; when the hive itself is accessible, what failed
        // is a companion file or the folder, not the hive.
        if ((rc & 0xff) == SQLITE_CANTOPEN && ::access(path.c_str(), R_OK | W_OK) == 0) {
            failure.verdict = HiveOpenFailure::Verdict::Unavailable;
        }
        return Opened::failure(std::move(failure));
    }
    const bool fresh = version == 0 && tables == 0;
    if (version == 0 && tables != 0) {
        return Opened::failure(
            {HiveOpenFailure::Verdict::Damaged, "it holds tables of another program"});
    }
    if (version > kSchemaVersion) {
        return Opened::failure(
            {HiveOpenFailure::Verdict::Damaged,
             "it was written by a newer version (schema " + std::to_string(version) + ")"});
    }
    if (!fresh) {
        std::int64_t pages = 0;
        if ((rc = queryInt(db, "PRAGMA page_count", pages)) != SQLITE_OK) {
            return Opened::failure(HiveOpenFailure::from(db, rc));
        }
        if (pages <= kQuickCheckMaxPages) {
            std::string verdict;
            if ((rc = queryText(db, "PRAGMA quick_check(1)", verdict)) != SQLITE_OK) {
                return Opened::failure(HiveOpenFailure::from(db, rc));
            }
            if (verdict != "ok") {
                return Opened::failure(
                    {HiveOpenFailure::Verdict::Damaged, "integrity check: " + verdict});
            }
        }
    }

    // The file is sound: from here on it may be written. WAL lets readers in other processes
    // carry on while one writes; FULL syncs the log at every commit, so a write that returned
    // true survives a power cut, not only a crash.
    if ((rc = enableWal(db)) != SQLITE_OK ||
        (rc = exec(db, "PRAGMA synchronous = FULL")) != SQLITE_OK ||
        (fresh && (rc = initialiseSchema(db)) != SQLITE_OK)) {
        return Opened::failure(HiveOpenFailure::ofCheckedFile(db, rc));
    }
    Opened opened = withStatements(std::move(conn), true);
    if (opened.ok()) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    }
    return opened;
}

HiveConnection::Opened HiveConnection::openMemory() {
    int rc = SQLITE_OK;
    Connection conn = openConnection<Connection>(":memory:", rc);
    if (rc == SQLITE_OK) {
        rc = initialiseSchema(conn.get());
    }
    if (rc != SQLITE_OK) {
        return Opened::failure(HiveOpenFailure::from(conn.get(), rc));
    }
    return withStatements(std::move(conn), false);
}

}  // namespace rizorivu
