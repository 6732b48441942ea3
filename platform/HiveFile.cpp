#include "platform/HiveFile.h"

#include <sqlite3.h>

#include <sys/stat.h>
#include <cstring>
#include <utility>

#include "platform/HiveRecovery.h"
#include "platform/HiveReporter.h"
#include "platform/PrivateFiles.h"

namespace rizorivu {

namespace fs = std::filesystem;

namespace {

// The registry's own type numbers, so that a hive dump reads naturally.
constexpr int kTypeString = 1;  // REG_SZ
constexpr int kTypeDword = 4;   // REG_DWORD

std::string columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = sqlite3_column_text(stmt, column);
    return std::string(text != nullptr ? reinterpret_cast<const char*>(text) : "",
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

}  // namespace

HiveFile::HiveFile(std::string_view name, const fs::path& path, HiveReporter& reporter)
    : reporter_(reporter) {
    open(name, path);
}

std::optional<HiveOpenFailure> HiveFile::adopt(HiveConnection::Opened opened) {
    if (!opened.ok()) {
        return opened.error();
    }
    connection_.emplace(std::move(opened).value());
    return std::nullopt;
}

void HiveFile::open(std::string_view name, const fs::path& path) {
    description_ = path.empty() ? std::string(name) : path.string();
    if (path.empty()) {
        useMemory("registry: no file is configured for the " + std::string(name) + " hive");
        return;
    }
    const std::string where = "registry: " + path.string();
    int err = 0;
    if (!ensurePrivateFolder(path.parent_path(), err)) {
        useMemory(where + " cannot be used: its folder cannot be created (" + std::strerror(err) +
                  ")");
        return;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        useMemory(where + " cannot be used: it is not a regular file");
        return;
    }
    if (!createPrivateFileIfMissing(path, err)) {
        useMemory(where + " cannot be created (" + std::strerror(err) + ")");
        return;
    }
    const std::optional<HiveOpenFailure> failure = adopt(HiveConnection::openFile(path));
    if (!failure) {
        path_ = path;
        return;
    }
    if (failure->verdict == HiveOpenFailure::Verdict::Unavailable) {
        useMemory(where + " cannot be used (" + failure->reason + ")");
        return;
    }
    const Result<std::string> aside = moveHiveAside(path);
    if (!aside.ok()) {
        useMemory(where + " cannot be used (" + failure->reason + ") nor moved aside (" +
                  aside.error() + ")");
        return;
    }
    movedAside_ = aside.value();
    pruneDamagedCopies(path, kKeptDamagedCopies);
    const std::string moved =
        where + " cannot be used (" + failure->reason + "); moved it to " + aside.value();
    if (!createPrivateFileIfMissing(path, err)) {
        useMemory(moved + ", but a new hive cannot be created (" + std::strerror(err) + ")");
        return;
    }
    if (const auto again = adopt(HiveConnection::openFile(path))) {
        useMemory(moved + ", but a new hive cannot be opened (" + again->reason + ")");
        return;
    }
    path_ = path;
    reporter_.line(moved + " and started an empty hive");
}

void HiveFile::useMemory(const std::string& problem) {
    path_.clear();
    if (const auto failure = adopt(HiveConnection::openMemory())) {
        reporter_.line(problem + "; the hive cannot even be kept in memory (" + failure->reason +
                       "), so settings are neither read nor saved");
        failureReported_ = true;
        return;
    }
    reporter_.line(problem + "; the hive is kept in memory for this run");
}

void HiveFile::failed(const char* operation, int rc) {
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    const std::string reason = connection_ ? sqlite3_errmsg(connection_->db()) : sqlite3_errstr(rc);
    reporter_.line("registry: " + std::string(operation) + " in " + description_ + " failed (" +
                   reason + "); further failures of this hive are not reported");
}

bool HiveFile::ready(const char* operation) {
    if (connection_) {
        return true;
    }
    failed(operation, SQLITE_CANTOPEN);
    return false;
}

template <typename Body>
bool HiveFile::transaction(const char* operation, Body&& body) {
    if (!ready(operation)) {
        return false;
    }
    const HiveStatements& kept = connection_->statements();
    int rc = StatementUse(kept.begin).step();
    if (rc != SQLITE_DONE) {
        failed(operation, rc);
        return false;
    }
    rc = body(kept);
    if (rc == SQLITE_OK) {
        rc = StatementUse(kept.commit).step();
        if (rc == SQLITE_DONE) {
            return true;
        }
    }
    failed(operation, rc);
    if (sqlite3_get_autocommit(connection_->db()) == 0) {
        StatementUse(kept.rollback).step();
    }
    return false;
}

// Creates the key and its missing ancestors. A key's ancestors always exist (deleting a key
// deletes what is below it), so an existing key needs nothing more.
int HiveFile::ensureKey(const KeyLevels& levels) {
    if (levels.names.empty()) {
        return SQLITE_OK;
    }
    const HiveStatements& kept = connection_->statements();
    {
        const StatementUse exists(kept.keyExists);
        exists.bindText(1, levels.folded);
        const int rc = exists.step();
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
        const StatementUse insert(kept.insertKey);
        insert.bindText(1, folded);
        insert.bindText(2, folded.substr(0, parentEnd));
        insert.bindText(3, levels.names[i]);
        if (const int rc = insert.step(); rc != SQLITE_DONE) {
            return rc;
        }
        parentEnd = levels.ends[i];
    }
    return SQLITE_OK;
}

bool HiveFile::createKey(std::string_view keyPath) {
    const KeyLevels levels = KeyLevels::split(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    if (levels.names.empty()) {
        return ready("createKey");
    }
    return transaction("createKey", [&](const HiveStatements&) { return ensureKey(levels); });
}

bool HiveFile::keyExists(std::string_view keyPath) {
    const std::string folded = KeyLevels::fold(folder_, keyPath);
    if (folded.empty()) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    if (!ready("keyExists")) {
        return false;
    }
    const StatementUse exists(connection_->statements().keyExists);
    exists.bindText(1, folded);
    const int rc = exists.step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        failed("keyExists", rc);
    }
    return rc == SQLITE_ROW;
}

bool HiveFile::deleteKey(std::string_view keyPath) {
    const std::string folded = KeyLevels::fold(folder_, keyPath);
    // The root stays: deleting it would empty the whole hive, which no caller means to do
    // with an empty or all-separator path.
    if (folded.empty()) {
        return false;
    }
    const std::string below = folded + '\\';
    const std::string beyond = folded + ']';  // the character after '\'
    bool found = false;
    const std::lock_guard lock(mutex_);
    const bool ok = transaction("deleteKey", [&](const HiveStatements& kept) {
        {
            const StatementUse exists(kept.keyExists);
            exists.bindText(1, folded);
            const int rc = exists.step();
            if (rc != SQLITE_ROW) {
                return rc == SQLITE_DONE ? SQLITE_OK : rc;
            }
        }
        found = true;
        for (const Statement* stmt : {&kept.deleteKeyValues, &kept.deleteKey}) {
            const StatementUse del(*stmt);
            del.bindText(1, folded);
            if (const int rc = del.step(); rc != SQLITE_DONE) {
                return rc;
            }
        }
        for (const Statement* stmt : {&kept.deleteSubKeyValues, &kept.deleteSubKeys}) {
            const StatementUse del(*stmt);
            del.bindText(1, below);
            del.bindText(2, beyond);
            if (const int rc = del.step(); rc != SQLITE_DONE) {
                return rc;
            }
        }
        return SQLITE_OK;
    });
    return ok && found;
}

std::optional<RegistryValue> HiveFile::readValue(std::string_view keyPath,
                                                 std::string_view valueName) {
    const std::string key = KeyLevels::fold(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    const std::lock_guard lock(mutex_);
    if (!ready("readValue")) {
        return std::nullopt;
    }
    const StatementUse select(connection_->statements().selectValue);
    select.bindText(1, key);
    select.bindText(2, name);
    const int rc = select.step();
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE) {
            failed("readValue", rc);
        }
        return std::nullopt;
    }
    RegistryValue value;
    switch (sqlite3_column_int(select.get(), 0)) {
        case kTypeString:
            value.type = RegistryValue::Type::String;
            value.text = columnText(select.get(), 1);
            return value;
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

bool HiveFile::writeValue(std::string_view keyPath, std::string_view valueName,
                          const RegistryValue& value) {
    const KeyLevels levels = KeyLevels::split(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    const std::lock_guard lock(mutex_);
    return transaction("writeValue", [&](const HiveStatements& kept) {
        if (const int rc = ensureKey(levels); rc != SQLITE_OK) {
            return rc;
        }
        const StatementUse upsert(kept.upsertValue);
        upsert.bindText(1, levels.folded);
        upsert.bindText(2, name);
        upsert.bindText(3, valueName);
        if (value.type == RegistryValue::Type::String) {
            sqlite3_bind_int(upsert.get(), 4, kTypeString);
            upsert.bindText(5, value.text);
        } else {
            sqlite3_bind_int(upsert.get(), 4, kTypeDword);
            sqlite3_bind_int64(upsert.get(), 5, value.dword);
        }
        const int rc = upsert.step();
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
}

bool HiveFile::deleteValue(std::string_view keyPath, std::string_view valueName) {
    const std::string key = KeyLevels::fold(folder_, keyPath);
    const std::string name = folder_.upper(valueName);
    bool found = false;
    const std::lock_guard lock(mutex_);
    const bool ok = transaction("deleteValue", [&](const HiveStatements& kept) {
        const StatementUse del(kept.deleteValue);
        del.bindText(1, key);
        del.bindText(2, name);
        const int rc = del.step();
        found = rc == SQLITE_DONE && sqlite3_changes(connection_->db()) > 0;
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
    return ok && found;
}

std::vector<std::string> HiveFile::names(const Statement& stmt, const std::string& foldedKey,
                                         const char* operation) {
    std::vector<std::string> out;
    const StatementUse query(stmt);
    query.bindText(1, foldedKey);
    int rc = SQLITE_OK;
    while ((rc = query.step()) == SQLITE_ROW) {
        out.push_back(columnText(query.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        failed(operation, rc);
        out.clear();
    }
    return out;
}

std::vector<std::string> HiveFile::subKeyNames(std::string_view keyPath) {
    const std::string key = KeyLevels::fold(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    if (!ready("subKeyNames")) {
        return {};
    }
    return names(connection_->statements().childNames, key, "subKeyNames");
}

std::vector<std::string> HiveFile::valueNames(std::string_view keyPath) {
    const std::string key = KeyLevels::fold(folder_, keyPath);
    const std::lock_guard lock(mutex_);
    if (!ready("valueNames")) {
        return {};
    }
    return names(connection_->statements().valueNames, key, "valueNames");
}

}  // namespace rizorivu
