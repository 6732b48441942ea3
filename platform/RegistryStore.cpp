#include "platform/RegistryStore.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <ostream>
#include <utility>

#include "platform/Unicode.h"

namespace rizorivu {

namespace fs = std::filesystem;

namespace {

constexpr int kSchemaVersion = 1;

// Long enough to ride out another process's write or checkpoint, short enough that a wedged
// peer does not freeze the tray for good.
constexpr int kBusyTimeoutMs = 5000;

// quick_check reads every page once. A hive holds a few hundred settings (tens of KiB, well
// under a millisecond to check); above this size the check would slow every start noticeably,
// so a hive that large relies on the errors SQLite reports while it is used.
constexpr std::int64_t kQuickCheckMaxPages = 2048;

// The registry's own type numbers, so that a hive dump reads naturally.
constexpr int kTypeString = 1;  // REG_SZ
constexpr int kTypeDword = 4;   // REG_DWORD

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

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// An open hive: the connection and its prepared statements. The statements are declared after
// the connection so that they are finalised first.
struct Database {
    Connection conn;
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
};

// Resets a cached statement when the operation using it ends, so that no read transaction is
// left open (it would hold back checkpoints of every process) and no stale binding survives.
class StatementUse {
public:
    explicit StatementUse(const Statement& stmt) : stmt_(stmt.get()) {}
    ~StatementUse() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
};

int bindText(sqlite3_stmt* stmt, int index, std::string_view text) {
    // SQLITE_STATIC: every binding is cleared before the bound text goes away.
    return sqlite3_bind_text64(stmt, index, text.empty() ? "" : text.data(), text.size(),
                               SQLITE_STATIC, SQLITE_UTF8);
}

// A key path split into its components: the folded path of every level and the spelling of
// its last component.
struct KeyLevels {
    std::string folded;                   // the whole folded path
    std::vector<std::size_t> ends;        // folded.substr(0, ends[i]) is level i
    std::vector<std::string_view> names;  // spelling of level i, viewing the caller's path
};

KeyLevels splitKeyPath(const CaseFolder& folder, std::string_view path) {
    KeyLevels levels;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('\\', pos);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > pos) {
            const std::string_view name = path.substr(pos, end - pos);
            if (!levels.folded.empty()) {
                levels.folded += '\\';
            }
            levels.folded += folder.upper(name);
            levels.ends.push_back(levels.folded.size());
            levels.names.push_back(name);
        }
        pos = end + 1;
    }
    return levels;
}

// The folded form of a key path, for lookups. Upper-casing never produces or removes a
// backslash, so folding first and then dropping empty components equals folding each one.
std::string foldKeyPath(const CaseFolder& folder, std::string_view path) {
    const std::string upper = folder.upper(path);
    std::string out;
    out.reserve(upper.size());
    std::size_t pos = 0;
    while (pos <= upper.size()) {
        std::size_t end = upper.find('\\', pos);
        if (end == std::string::npos) {
            end = upper.size();
        }
        if (end > pos) {
            if (!out.empty()) {
                out += '\\';
            }
            out.append(upper, pos, end - pos);
        }
        pos = end + 1;
    }
    return out;
}

std::string errnoText(int err) {
    return std::strerror(err);
}

// How an open failed: a damaged hive is moved aside and replaced; an unavailable one (busy,
// out of memory, disk full, read-only) is left where it is, because nothing is wrong with it.
enum class Verdict { Damaged, Unavailable };

struct OpenFailure {
    Verdict verdict;
    std::string reason;
};

OpenFailure failureFrom(sqlite3* db, int rc) {
    std::string reason = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_NOMEM:
        case SQLITE_FULL:
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_INTERRUPT:
            return {Verdict::Unavailable, std::move(reason)};
        case SQLITE_IOERR:
            return {rc == SQLITE_IOERR_NOMEM ? Verdict::Unavailable : Verdict::Damaged,
                    std::move(reason)};
        case SQLITE_CANTOPEN: {
            // Running out of descriptors or a read-only file system says nothing about the file.
            const int err = db != nullptr ? sqlite3_system_errno(db) : 0;
            const bool transient =
                err == EMFILE || err == ENFILE || err == ENOMEM || err == ENOSPC || err == EROFS;
            return {transient ? Verdict::Unavailable : Verdict::Damaged, std::move(reason)};
        }
        default:
            return {Verdict::Damaged, std::move(reason)};
    }
}

// Failures once the file has passed its check: only SQLite finding corruption, or tables that
// do not fit, mean damage; anything else (no room for the log, a folder that will not take
// it) is about the surroundings, and the file stays where it is.
OpenFailure failureOfCheckedFile(sqlite3* db, int rc) {
    OpenFailure failure = failureFrom(db, rc);
    const int primary = rc & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB && primary != SQLITE_ERROR) {
        failure.verdict = Verdict::Unavailable;
    }
    return failure;
}

int exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Runs a query that yields a single integer (a pragma or a count).
int queryInt(sqlite3* db, const char* sql, std::int64_t& out) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const Statement stmt(raw);
    if (rc != SQLITE_OK) {
        return rc;
    }
    rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW) {
        out = sqlite3_column_int64(raw, 0);
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
}

int queryText(sqlite3* db, const char* sql, std::string& out) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const Statement stmt(raw);
    if (rc != SQLITE_OK) {
        return rc;
    }
    rc = sqlite3_step(raw);
    if (rc == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(raw, 0);
        out.assign(text != nullptr ? reinterpret_cast<const char*>(text) : "");
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
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

int prepare(sqlite3* db, const char* sql, Statement& out) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    out.reset(raw);
    return rc;
}

// Prepares every statement; on an existing hive this also proves that its tables have the
// columns this version expects.
int prepareAll(Database& d) {
    sqlite3* db = d.conn.get();
    const std::pair<Statement*, const char*> statements[] = {
        {&d.begin, "BEGIN IMMEDIATE"},
        {&d.commit, "COMMIT"},
        {&d.rollback, "ROLLBACK"},
        {&d.keyExists, "SELECT 1 FROM hive_keys WHERE path = ?1"},
        {&d.insertKey, "INSERT OR IGNORE INTO hive_keys (path, parent, name) VALUES (?1, ?2, ?3)"},
        {&d.selectValue, "SELECT type, data FROM hive_values WHERE key_path = ?1 AND name = ?2"},
        {&d.upsertValue,
         "INSERT INTO hive_values (key_path, name, display, type, data) "
         "VALUES (?1, ?2, ?3, ?4, ?5) "
         "ON CONFLICT (key_path, name) DO UPDATE SET type = excluded.type, data = excluded.data"},
        {&d.deleteValue, "DELETE FROM hive_values WHERE key_path = ?1 AND name = ?2"},
        {&d.deleteKey, "DELETE FROM hive_keys WHERE path = ?1"},
        {&d.deleteSubKeys, "DELETE FROM hive_keys WHERE path >= ?1 AND path < ?2"},
        {&d.deleteKeyValues, "DELETE FROM hive_values WHERE key_path = ?1"},
        {&d.deleteSubKeyValues, "DELETE FROM hive_values WHERE key_path >= ?1 AND key_path < ?2"},
        {&d.childNames, "SELECT name FROM hive_keys WHERE parent = ?1"},
        {&d.valueNames, "SELECT display FROM hive_values WHERE key_path = ?1"},
    };
    for (const auto& [stmt, sql] : statements) {
        if (const int rc = prepare(db, sql, *stmt); rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
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

Connection openConnection(const char* name, int flags, int& rc) {
    sqlite3* raw = nullptr;
    rc = sqlite3_open_v2(name, &raw, flags, nullptr);
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

// Opens an existing (possibly empty) hive file and checks it. Until the file has passed, nothing
// is written to it, and closing does not checkpoint, so that a damaged hive is moved aside
// exactly as it was found.
std::optional<OpenFailure> openFile(const fs::path& path, Database& out) {
    int rc = SQLITE_OK;
    // Our own mutex guards the connection, so SQLite's per-connection one is redundant.
    Connection conn = openConnection(path.c_str(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
    sqlite3* db = conn.get();
    if (rc != SQLITE_OK) {
        return failureFrom(db, rc);
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (sqlite3_db_readonly(db, "main") == 1) {
        return OpenFailure{Verdict::Unavailable, "the file is read-only"};
    }

    std::int64_t tables = 0;
    std::int64_t version = 0;
    if ((rc = queryInt(db, "SELECT count(*) FROM sqlite_schema", tables)) != SQLITE_OK ||
        (rc = queryInt(db, "PRAGMA user_version", version)) != SQLITE_OK) {
        OpenFailure failure = failureFrom(db, rc);
        // The first read also opens the log; when the hive itself is accessible, what failed
        // is a companion file or the folder, not the hive.
        if ((rc & 0xff) == SQLITE_CANTOPEN && ::access(path.c_str(), R_OK | W_OK) == 0) {
            failure.verdict = Verdict::Unavailable;
        }
        return failure;
    }
    const bool fresh = version == 0 && tables == 0;
    if (version == 0 && tables != 0) {
        return OpenFailure{Verdict::Damaged, "it holds tables of another program"};
    }
    if (version > kSchemaVersion) {
        return OpenFailure{Verdict::Damaged, "it was written by a newer version (schema " +
                                                 std::to_string(version) + ")"};
    }
    if (!fresh) {
        std::int64_t pages = 0;
        if ((rc = queryInt(db, "PRAGMA page_count", pages)) != SQLITE_OK) {
            return failureFrom(db, rc);
        }
        if (pages <= kQuickCheckMaxPages) {
            std::string verdict;
            if ((rc = queryText(db, "PRAGMA quick_check(1)", verdict)) != SQLITE_OK) {
                return failureFrom(db, rc);
            }
            if (verdict != "ok") {
                return OpenFailure{Verdict::Damaged, "integrity check: " + verdict};
            }
        }
    }

    // The file is sound: from here on it may be written. WAL lets readers in other processes
    // carry on while one writes; FULL syncs the log at every commit, so a write that returned
    // true survives a power cut, not only a crash.
    if ((rc = enableWal(db)) != SQLITE_OK ||
        (rc = exec(db, "PRAGMA synchronous = FULL")) != SQLITE_OK ||
        (fresh && (rc = initialiseSchema(db)) != SQLITE_OK)) {
        return failureOfCheckedFile(db, rc);
    }
    out.conn = std::move(conn);
    if ((rc = prepareAll(out)) != SQLITE_OK) {
        OpenFailure failure = failureOfCheckedFile(db, rc);
        out = Database{};
        return failure;
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    return std::nullopt;
}

std::optional<OpenFailure> openMemory(Database& out) {
    int rc = SQLITE_OK;
    Connection conn = openConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
    if (rc == SQLITE_OK) {
        rc = initialiseSchema(conn.get());
    }
    if (rc != SQLITE_OK) {
        return failureFrom(conn.get(), rc);
    }
    out.conn = std::move(conn);
    if ((rc = prepareAll(out)) != SQLITE_OK) {
        OpenFailure failure = failureFrom(out.conn.get(), rc);
        out = Database{};
        return failure;
    }
    return std::nullopt;
}

// Creates `dir` and its missing ancestors with mode 0700 (the hives hold passphrases). An
// existing folder is left as the user set it up.
bool ensureFolder(const fs::path& dir, int& err) {
    if (dir.empty()) {
        return true;
    }
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return true;
        }
        err = ENOTDIR;
        return false;
    }
    if (errno != ENOENT) {
        err = errno;
        return false;
    }
    if (dir.has_parent_path() && dir.parent_path() != dir &&
        !ensureFolder(dir.parent_path(), err)) {
        return false;
    }
    if (::mkdir(dir.c_str(), 0700) != 0) {
        if (errno == EEXIST) {
            return true;
        }
        err = errno;
        return false;
    }
    // The umask may have taken more than group and other bits away.
    ::chmod(dir.c_str(), 0700);
    return true;
}

// Creates the hive file with mode 0600 before SQLite sees it; SQLite gives the -wal and -shm
// files the mode of the database, so they inherit it.
bool createFileIfMissing(const fs::path& path, int& err) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) {
            return true;
        }
        err = errno;
        return false;
    }
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// rename() that never replaces an existing file.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return -1;
    }
    // File systems without RENAME_NOREPLACE: a check first, racy but only against ourselves.
    if (exists(to)) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

constexpr const char* kCompanionSuffixes[] = {"-wal", "-shm", "-journal"};

// Moves a damaged hive and its companions to "<name>.damaged-<timestamp>[-n]", keeping them
// together under one name so that SQLite could still open the copy. The companions must go
// too: a fresh hive at the old path would otherwise adopt the old log.
std::optional<std::string> moveAside(const fs::path& path, std::string& error) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path.string() + ".damaged-" + stamp;

    for (int n = 1; n < 1000; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        bool taken = false;
        for (const char* suffix : kCompanionSuffixes) {
            taken = taken || exists(aside + suffix);
        }
        if (taken) {
            continue;
        }
        if (renameNoReplace(path.string(), aside) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            error = errnoText(errno);
            return std::nullopt;
        }
        for (const char* suffix : kCompanionSuffixes) {
            const std::string companion = path.string() + suffix;
            if (exists(companion) && renameNoReplace(companion, aside + suffix) != 0) {
                error = "moved it to " + aside + ", but not " + companion + " (" +
                        errnoText(errno) + ")";
                return std::nullopt;
            }
        }
        return aside;
    }
    error = "no free name beside it";
    return std::nullopt;
}

}  // namespace

class RegistryStore::Reporter {
public:
    explicit Reporter(std::ostream& out) : out_(out) {}

    // Writes one line: SQLite's messages (integrity check results above all) may span several.
    void line(std::string text) {
        for (char& c : text) {
            if (c == '\n' || c == '\r') {
                c = ' ';
            }
        }
        const std::lock_guard lock(mutex_);
        out_ << text << '\n' << std::flush;
    }

private:
    std::mutex mutex_;
    std::ostream& out_;
};

class RegistryStore::HiveFile {
public:
    HiveFile(std::string_view name, const fs::path& path, Reporter& reporter);

    const fs::path& path() const { return path_; }

    bool createKey(std::string_view keyPath);
    bool keyExists(std::string_view keyPath);
    bool deleteKey(std::string_view keyPath);
    std::optional<RegistryValue> readValue(std::string_view keyPath, std::string_view valueName);
    bool writeValue(std::string_view keyPath, std::string_view valueName,
                    const RegistryValue& value);
    bool deleteValue(std::string_view keyPath, std::string_view valueName);
    std::vector<std::string> subKeyNames(std::string_view keyPath);
    std::vector<std::string> valueNames(std::string_view keyPath);

private:
    void open(std::string_view name, const fs::path& path);
    void useMemory(const std::string& problem);
    // Reports the first failure at run time; the rest would only repeat it.
    void failed(const char* operation, int rc);
    bool ready(const char* operation);
    // Runs `body` in a write transaction; `body` returns an SQLite code, SQLITE_OK to commit.
    template <typename Body>
    bool transaction(const char* operation, Body&& body);
    int ensureKey(const KeyLevels& levels);
    std::vector<std::string> names(const Statement& stmt, const std::string& foldedKey,
                                   const char* operation);

    Reporter& reporter_;
    const CaseFolder folder_;
    fs::path path_;  // empty while the hive lives in memory
    std::string description_;
    std::mutex mutex_;  // guards everything below
    Database db_;
    bool failureReported_ = false;
};

RegistryStore::HiveFile::HiveFile(std::string_view name, const fs::path& path, Reporter& reporter)
    : reporter_(reporter) {
    open(name, path);
}

void RegistryStore::HiveFile::open(std::string_view name, const fs::path& path) {
    description_ = path.empty() ? std::string(name) : path.string();
    if (path.empty()) {
        useMemory("registry: no file is configured for the " + std::string(name) + " hive");
        return;
    }
    const std::string where = "registry: " + path.string();
    int err = 0;
    if (!ensureFolder(path.parent_path(), err)) {
        useMemory(where + " cannot be used: its folder cannot be created (" + errnoText(err) + ")");
        return;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        useMemory(where + " cannot be used: it is not a regular file");
        return;
    }
    if (!createFileIfMissing(path, err)) {
        useMemory(where + " cannot be created (" + errnoText(err) + ")");
        return;
    }
    std::optional<OpenFailure> failure = openFile(path, db_);
    if (!failure) {
        path_ = path;
        return;
    }
    db_ = Database{};
    if (failure->verdict == Verdict::Unavailable) {
        useMemory(where + " cannot be used (" + failure->reason + ")");
        return;
    }
    std::string error;
    const std::optional<std::string> aside = moveAside(path, error);
    if (!aside) {
        useMemory(where + " cannot be used (" + failure->reason + ") nor moved aside (" + error +
                  ")");
        return;
    }
    const std::string moved =
        where + " cannot be used (" + failure->reason + "); moved it to " + *aside;
    if (!createFileIfMissing(path, err)) {
        useMemory(moved + ", but a new hive cannot be created (" + errnoText(err) + ")");
        return;
    }
    if (const auto again = openFile(path, db_)) {
        db_ = Database{};
        useMemory(moved + ", but a new hive cannot be opened (" + again->reason + ")");
        return;
    }
    path_ = path;
    reporter_.line(moved + " and started an empty hive");
}

void RegistryStore::HiveFile::useMemory(const std::string& problem) {
    path_.clear();
    if (const auto failure = openMemory(db_)) {
        reporter_.line(problem + "; the hive cannot even be kept in memory (" + failure->reason +
                       "), so settings are neither read nor saved");
        failureReported_ = true;
        return;
    }
    reporter_.line(problem + "; the hive is kept in memory for this run");
}

void RegistryStore::HiveFile::failed(const char* operation, int rc) {
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    const std::string reason = db_.conn ? sqlite3_errmsg(db_.conn.get()) : sqlite3_errstr(rc);
    reporter_.line("registry: " + std::string(operation) + " in " + description_ + " failed (" +
                   reason + "); further failures of this hive are not reported");
}

bool RegistryStore::HiveFile::ready(const char* operation) {
    if (db_.conn) {
        return true;
    }
    failed(operation, SQLITE_CANTOPEN);
    return false;
}

template <typename Body>
bool RegistryStore::HiveFile::transaction(const char* operation, Body&& body) {
    if (!ready(operation)) {
        return false;
    }
    int rc = SQLITE_OK;
    {
        const StatementUse begin(db_.begin);
        rc = sqlite3_step(begin.get());
    }
    if (rc != SQLITE_DONE) {
        failed(operation, rc);
        return false;
    }
    rc = body();
    if (rc == SQLITE_OK) {
        const StatementUse commit(db_.commit);
        rc = sqlite3_step(commit.get());
        if (rc == SQLITE_DONE) {
            return true;
        }
    }
    failed(operation, rc);
    if (sqlite3_get_autocommit(db_.conn.get()) == 0) {
        const StatementUse rollback(db_.rollback);
        sqlite3_step(rollback.get());
    }
    return false;
}

// Creates the key and its missing ancestors. A key's ancestors always exist (deleting a key
// deletes what is below it), so an existing key needs nothing more.
int RegistryStore::HiveFile::ensureKey(const KeyLevels& levels) {
    if (levels.names.empty()) {
        return SQLITE_OK;
    }
    {
        const StatementUse exists(db_.keyExists);
        bindText(exists.get(), 1, levels.folded);
        const int rc = sqlite3_step(exists.get());
        if (rc == SQLITE_ROW) {
            return SQLITE_OK;
        }
        if (rc != SQLITE_DONE) {
            return rc;
        }
    }
    std::size_t parentEnd = 0;
    for (std::size_t i = 0; i < levels.names.size(); ++i) {
        const std::string_view folded(levels.folded.data(), levels.ends[i]);
        const StatementUse insert(db_.insertKey);
        bindText(insert.get(), 1, folded);
        bindText(insert.get(), 2, folded.substr(0, parentEnd));
        bindText(insert.get(), 3, levels.names[i]);
        if (const int rc = sqlite3_step(insert.get()); rc != SQLITE_DONE) {
            return rc;
        }
        parentEnd = levels.ends[i];
    }
    return SQLITE_OK;
}

bool RegistryStore::HiveFile::createKey(std::string_view keyPath) {
    const KeyLevels levels = splitKeyPath(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    if (levels.names.empty()) {
        return ready("createKey");
    }
    return transaction("createKey", [&] { return ensureKey(levels); });
}

bool RegistryStore::HiveFile::keyExists(std::string_view keyPath) {
    const std::string folded = foldKeyPath(folder_, keyPath);
    if (folded.empty()) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    if (!ready("keyExists")) {
        return false;
    }
    const StatementUse exists(db_.keyExists);
    bindText(exists.get(), 1, folded);
    const int rc = sqlite3_step(exists.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        failed("keyExists", rc);
    }
    return rc == SQLITE_ROW;
}

bool RegistryStore::HiveFile::deleteKey(std::string_view keyPath) {
    const std::string folded = foldKeyPath(folder_, keyPath);
    // The root stays: deleting it would empty the whole hive, which no caller means to do
    // with an empty or all-separator path.
    if (folded.empty()) {
        return false;
    }
    const std::string below = folded + '\\';
    const std::string beyond = folded + ']';  // the character after '\'
    bool found = false;
    const std::lock_guard lock(mutex_);
    const bool ok = transaction("deleteKey", [&] {
        {
            const StatementUse exists(db_.keyExists);
            bindText(exists.get(), 1, folded);
            const int rc = sqlite3_step(exists.get());
            if (rc != SQLITE_ROW) {
                return rc == SQLITE_DONE ? SQLITE_OK : rc;
            }
        }
        found = true;
        for (const Statement* stmt : {&db_.deleteKeyValues, &db_.deleteKey}) {
            const StatementUse del(*stmt);
            bindText(del.get(), 1, folded);
            if (const int rc = sqlite3_step(del.get()); rc != SQLITE_DONE) {
                return rc;
            }
        }
        for (const Statement* stmt : {&db_.deleteSubKeyValues, &db_.deleteSubKeys}) {
            const StatementUse del(*stmt);
            bindText(del.get(), 1, below);
            bindText(del.get(), 2, beyond);
            if (const int rc = sqlite3_step(del.get()); rc != SQLITE_DONE) {
                return rc;
            }
        }
        return SQLITE_OK;
    });
    return ok && found;
}

std::optional<RegistryValue> RegistryStore::HiveFile::readValue(std::string_view keyPath,
                                                                std::string_view valueName) {
    const std::string key = foldKeyPath(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    const std::lock_guard lock(mutex_);
    if (!ready("readValue")) {
        return std::nullopt;
    }
    const StatementUse select(db_.selectValue);
    bindText(select.get(), 1, key);
    bindText(select.get(), 2, name);
    const int rc = sqlite3_step(select.get());
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE) {
            failed("readValue", rc);
        }
        return std::nullopt;
    }
    RegistryValue value;
    switch (sqlite3_column_int(select.get(), 0)) {
        case kTypeString: {
            const auto* text = sqlite3_column_text(select.get(), 1);
            const int size = sqlite3_column_bytes(select.get(), 1);
            value.type = RegistryValue::Type::String;
            value.text.assign(text != nullptr ? reinterpret_cast<const char*>(text) : "",
                              static_cast<std::size_t>(size));
            return value;
        }
        case kTypeDword: {
            const std::int64_t dword = sqlite3_column_int64(select.get(), 1);
            if (dword < 0 || dword > 0xFFFFFFFFLL) {
                return std::nullopt;
            }
            value.type = RegistryValue::Type::Dword;
            value.dword = static_cast<std::uint32_t>(dword);
            return value;
        }
        default:
            return std::nullopt;
    }
}

bool RegistryStore::HiveFile::writeValue(std::string_view keyPath, std::string_view valueName,
                                         const RegistryValue& value) {
    const KeyLevels levels = splitKeyPath(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    const std::lock_guard lock(mutex_);
    return transaction("writeValue", [&] {
        if (const int rc = ensureKey(levels); rc != SQLITE_OK) {
            return rc;
        }
        const StatementUse upsert(db_.upsertValue);
        bindText(upsert.get(), 1, levels.folded);
        bindText(upsert.get(), 2, name);
        bindText(upsert.get(), 3, valueName);
        if (value.type == RegistryValue::Type::String) {
            sqlite3_bind_int(upsert.get(), 4, kTypeString);
            bindText(upsert.get(), 5, value.text);
        } else {
            sqlite3_bind_int(upsert.get(), 4, kTypeDword);
            sqlite3_bind_int64(upsert.get(), 5, value.dword);
        }
        const int rc = sqlite3_step(upsert.get());
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
}

bool RegistryStore::HiveFile::deleteValue(std::string_view keyPath, std::string_view valueName) {
    const std::string key = foldKeyPath(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    bool found = false;
    const std::lock_guard lock(mutex_);
    const bool ok = transaction("deleteValue", [&] {
        const StatementUse del(db_.deleteValue);
        bindText(del.get(), 1, key);
        bindText(del.get(), 2, name);
        const int rc = sqlite3_step(del.get());
        found = rc == SQLITE_DONE && sqlite3_changes(db_.conn.get()) > 0;
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
    return ok && found;
}

std::vector<std::string> RegistryStore::HiveFile::names(const Statement& stmt,
                                                        const std::string& foldedKey,
                                                        const char* operation) {
    std::vector<std::string> out;
    if (!ready(operation)) {
        return out;
    }
    const StatementUse query(stmt);
    bindText(query.get(), 1, foldedKey);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(query.get(), 0);
        out.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "",
                         static_cast<std::size_t>(sqlite3_column_bytes(query.get(), 0)));
    }
    if (rc != SQLITE_DONE) {
        failed(operation, rc);
        out.clear();
    }
    return out;
}

std::vector<std::string> RegistryStore::HiveFile::subKeyNames(std::string_view keyPath) {
    const std::string key = foldKeyPath(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    return names(db_.childNames, key, "subKeyNames");
}

std::vector<std::string> RegistryStore::HiveFile::valueNames(std::string_view keyPath) {
    const std::string key = foldKeyPath(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    return names(db_.valueNames, key, "valueNames");
}

HiveLocations HiveLocations::inDirectory(const fs::path& dir) {
    return HiveLocations{dir / "HKEY_CURRENT_USER.hive", dir / "HKEY_LOCAL_MACHINE.hive"};
}

HiveLocations HiveLocations::fromEnvironment(const Environment& env) {
    if (const auto dir = env.get(kEnvironmentVariable); dir && !trimBlanks(*dir).empty()) {
        return inDirectory(*dir);
    }
    // The XDG base directory rules: a relative XDG_CONFIG_HOME is invalid and ignored.
    if (const auto config = env.get("XDG_CONFIG_HOME");
        config && !config->empty() && config->front() == '/') {
        return inDirectory(fs::path(*config) / "rizorivu");
    }
    fs::path home;
    if (const auto value = env.get("HOME"); value && !value->empty()) {
        home = *value;
    } else {
        // No HOME (a stripped service environment): the password database still knows it.
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    return inDirectory(home / ".config" / "rizorivu");
}

RegistryStore::RegistryStore(const HiveLocations& locations, std::ostream& diagnostics)
    : reporter_(std::make_unique<Reporter>(diagnostics)),
      currentUser_(
          std::make_unique<HiveFile>("HKEY_CURRENT_USER", locations.currentUser, *reporter_)),
      localMachine_(
          std::make_unique<HiveFile>("HKEY_LOCAL_MACHINE", locations.localMachine, *reporter_)) {}

RegistryStore::~RegistryStore() = default;

RegistryStore::HiveFile& RegistryStore::hiveFile(Hive hive) {
    return hive == Hive::CurrentUser ? *currentUser_ : *localMachine_;
}

bool RegistryStore::createKey(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).createKey(keyPath);
}

bool RegistryStore::keyExists(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).keyExists(keyPath);
}

bool RegistryStore::deleteKey(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).deleteKey(keyPath);
}

std::optional<RegistryValue> RegistryStore::readValue(Hive hive, std::string_view keyPath,
                                                      std::string_view valueName) {
    return hiveFile(hive).readValue(keyPath, valueName);
}

std::optional<std::string> RegistryStore::readString(Hive hive, std::string_view keyPath,
                                                     std::string_view valueName) {
    auto value = hiveFile(hive).readValue(keyPath, valueName);
    if (!value || value->type != RegistryValue::Type::String) {
        return std::nullopt;
    }
    return std::move(value->text);
}

std::optional<std::uint32_t> RegistryStore::readDword(Hive hive, std::string_view keyPath,
                                                      std::string_view valueName) {
    const auto value = hiveFile(hive).readValue(keyPath, valueName);
    if (!value || value->type != RegistryValue::Type::Dword) {
        return std::nullopt;
    }
    return value->dword;
}

bool RegistryStore::writeString(Hive hive, std::string_view keyPath, std::string_view valueName,
                                std::string_view text) {
    RegistryValue value;
    value.type = RegistryValue::Type::String;
    value.text = text;
    return hiveFile(hive).writeValue(keyPath, valueName, value);
}

bool RegistryStore::writeDword(Hive hive, std::string_view keyPath, std::string_view valueName,
                               std::uint32_t value) {
    RegistryValue stored;
    stored.type = RegistryValue::Type::Dword;
    stored.dword = value;
    return hiveFile(hive).writeValue(keyPath, valueName, stored);
}

bool RegistryStore::deleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) {
    return hiveFile(hive).deleteValue(keyPath, valueName);
}

std::vector<std::string> RegistryStore::subKeyNames(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).subKeyNames(keyPath);
}

std::vector<std::string> RegistryStore::valueNames(Hive hive, std::string_view keyPath) {
    return hiveFile(hive).valueNames(keyPath);
}

fs::path RegistryStore::hivePath(Hive hive) const {
    return (hive == Hive::CurrentUser ? currentUser_ : localMachine_)->path();
}

}  // namespace rizorivu
