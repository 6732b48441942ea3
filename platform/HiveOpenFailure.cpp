#include "platform/HiveOpenFailure.h"

#include <sqlite3.h>

#include <cerrno>
#include <utility>

namespace rizorivu {

HiveOpenFailure HiveOpenFailure::from(sqlite3* db, int rc) {
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

HiveOpenFailure HiveOpenFailure::ofCheckedFile(sqlite3* db, int rc) {
    HiveOpenFailure failure = from(db, rc);
    const int primary = rc & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB && primary != SQLITE_ERROR) {
        failure.verdict = Verdict::Unavailable;
    }
    return failure;
}

}  // namespace rizorivu
