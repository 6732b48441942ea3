#include "platform/StatementUse.h"

#include <sqlite3.h>

namespace rizorivu {

void StatementFinalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

StatementUse::~StatementUse() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int StatementUse::bindText(int index, std::string_view text) const {
    return sqlite3_bind_text64(stmt_, index, text.empty() ? "" : text.data(), text.size(),
                               SQLITE_STATIC, SQLITE_UTF8);
}

int StatementUse::step() const {
    return sqlite3_step(stmt_);
}

}  // namespace rizorivu
