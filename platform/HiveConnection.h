#pragma once

#include <filesystem>
#include <memory>

#include "platform/HiveOpenFailure.h"
#include "platform/HiveStatements.h"
#include "platform/Result.h"

struct sqlite3;

namespace rizorivu {

// An open hive: its SQLite connection and the statements kept prepared on it. The statements
// belong to the connection and go with it, so a hive opened again starts with statements of
// its own and none can outlive the file they were prepared on.
class HiveConnection {
public:
    using Opened = Result<HiveConnection, HiveOpenFailure>;

    // Opens an existing (possibly empty) hive file and checks it: a hive from another program,
    // from a newer version, or one whose pages fail the integrity check is refused as damaged.
    // Until the file has passed, nothing is written to it, and closing does not checkpoint,
    // so that a damaged hive can be moved aside exactly as it was found.
    static Opened openFile(const std::filesystem::path& path);
    // A hive that lives in memory for this run.
    static Opened openMemory();

    sqlite3* db() const { return conn_.get(); }
    const HiveStatements& statements() const { return statements_; }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    using Connection = std::unique_ptr<sqlite3, Closer>;

    HiveConnection() = default;
    // The statements of a connection that just passed its checks.
    static Opened withStatements(Connection conn, bool checkedFile);

    Connection conn_;
    // Declared after the connection, so that they are finalised before it closes.
    HiveStatements statements_;
};

}  // namespace rizorivu
