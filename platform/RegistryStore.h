#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Environment.h"
#include "platform/HiveLocations.h"
#include "platform/RegistryValue.h"

namespace rizorivu {

class HiveFile;
class HiveReporter;

// The two hives of the registry.
enum class Hive { CurrentUser, LocalMachine };

// A hierarchical key/value store with the registry's semantics, kept in one SQLite file per
// hive.
//
// - Key paths are separated by backslashes; empty components (leading, trailing or doubled
//   separators) are ignored, so "LastSetting\\Station\\" names the key "LastSetting\\Station".
// - Key and value names compare without regard to case, with Unicode upper-casing
//   ("café" and "CAFÉ" are one name); a name keeps the spelling it was first created with.
// - Every write is its own durable, atomic transaction. Several processes and threads may use
//   one hive at once and see each other's writes; a process killed in the middle of writes
//   never corrupts the hive.
// - Hive files and their companions are created with mode 0600 (they hold passphrases).
// - A hive that cannot be opened or is damaged is never overwritten or deleted: it is moved
//   aside, its new path is reported once on the diagnostics stream, and the store carries on
//   with an empty hive, so that the utility still runs on defaults. Where even that is not
//   possible the hive lives in memory for this run, and that too is reported once.
//
// Thread-safe: every operation synchronises inside.
class RegistryStore {
public:
    RegistryStore(const HiveLocations& locations, std::ostream& diagnostics);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Creates the key and every missing ancestor. False when the hive cannot be written.
    bool createKey(Hive hive, std::string_view keyPath);
    bool keyExists(Hive hive, std::string_view keyPath);
    // Deletes the key, its values and every key below it. False when it did not exist.
    bool deleteKey(Hive hive, std::string_view keyPath);

    // Nothing when the key or the value does not exist.
    std::optional<RegistryValue> readValue(Hive hive, std::string_view keyPath,
                                           std::string_view valueName);
    // Nothing also when the value has the other type.
    std::optional<std::string> readString(Hive hive, std::string_view keyPath,
                                          std::string_view valueName);
    std::optional<std::uint32_t> readDword(Hive hive, std::string_view keyPath,
                                           std::string_view valueName);

    // Write a value, creating the key path as needed. False when the write failed.
    bool writeString(Hive hive, std::string_view keyPath, std::string_view valueName,
                     std::string_view text);
    bool writeDword(Hive hive, std::string_view keyPath, std::string_view valueName,
                    std::uint32_t value);
    // False when the value did not exist or the write failed.
    bool deleteValue(Hive hive, std::string_view keyPath, std::string_view valueName);

    // Names as first spelt, in no particular order.
    std::vector<std::string> subKeyNames(Hive hive, std::string_view keyPath);
    std::vector<std::string> valueNames(Hive hive, std::string_view keyPath);

    // The file behind a hive (empty when the hive lives in memory).
    std::filesystem::path hivePath(Hive hive) const;
    // Where the damaged hives found at opening were moved (only the newest few copies of a
    // hive are kept); empty when both hives were sound.
    std::vector<std::string> damagedCopies() const;

private:
    HiveFile& hiveFile(Hive hive);
    // Shared by both hives, which may report from different threads; declared first so that
    // it outlives them.
    std::unique_ptr<HiveReporter> reporter_;
    std::unique_ptr<HiveFile> currentUser_;
    std::unique_ptr<HiveFile> localMachine_;
};

}  // namespace rizorivu
