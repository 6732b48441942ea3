#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HiveConnection.h"
#include "platform/KeyLevels.h"
#include "platform/RegistryValue.h"
#include "platform/Unicode.h"

namespace rizorivu {

class HiveReporter;

// One hive of the registry: the file, its connection, and the registry operations on it.
// Opening never fails: a damaged file is moved aside and replaced, and where no file can be
// used the hive lives in memory; each such step is reported once.
// Thread-safe: one mutex guards the connection and its kept statements.
class HiveFile {
public:
    HiveFile(std::string_view name, const std::filesystem::path& path, HiveReporter& reporter);

    // Empty while the hive lives in memory.
    const std::filesystem::path& path() const { return path_; }
    // Where the damaged hive found at opening was moved; empty when none was.
    const std::string& movedAside() const { return movedAside_; }

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
    void open(std::string_view name, const std::filesystem::path& path);
    // Adopts `opened` when it holds a connection; otherwise gives its failure.
    std::optional<HiveOpenFailure> adopt(HiveConnection::Opened opened);
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

    HiveReporter& reporter_;
    const CaseFolder folder_;
    std::filesystem::path path_;  // empty while the hive lives in memory
    std::string description_;
    std::string movedAside_;
    std::mutex mutex_;  // guards everything below
    std::optional<HiveConnection> connection_;
    bool failureReported_ = false;
};

}  // namespace rizorivu
