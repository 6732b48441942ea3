#pragma once

#include <memory>
#include <string_view>

struct sqlite3_stmt;

namespace rizorivu {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const;
};
// A prepared statement, finalised when dropped.
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// One run of a kept statement. Resets it when the run ends, so that no read transaction is
// left open (it would hold back checkpoints of every process) and no stale binding survives.
class StatementUse {
public:
    explicit StatementUse(const Statement& stmt) : stmt_(stmt.get()) {}
    ~StatementUse();
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    // Binds text without copying it: every binding is cleared before this run ends, so the
    // text need only live as long as the run.
    int bindText(int index, std::string_view text) const;
    int step() const;

private:
    sqlite3_stmt* stmt_;
};

}  // namespace rizorivu
