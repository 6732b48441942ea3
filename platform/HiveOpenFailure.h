#pragma once

#include <string>

struct sqlite3;

namespace rizorivu {

// Why a hive could not be opened, and what that means for its file: a damaged hive is moved
// aside and replaced; an unavailable one (busy, out of memory, disk full, read-only) is left
// where it is, because nothing is wrong with it.
struct HiveOpenFailure {
    enum class Verdict { Damaged, Unavailable };
    Verdict verdict = Verdict::Damaged;
    std::string reason;

    // The failure SQLite reported with `rc` on `db` (which may be null).
    static HiveOpenFailure from(sqlite3* db, int rc);
    // The same once the file has passed its check: only SQLite finding corruption, or tables
    // that do not fit, mean damage; anything else (no room for the log, a folder that will not
    // take it) is about the surroundings, and the file stays where it is.
    static HiveOpenFailure ofCheckedFile(sqlite3* db, int rc);
};

}  // namespace rizorivu
