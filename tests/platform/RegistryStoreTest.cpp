#include "platform/RegistryStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>

namespace rizorivu {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr Hive kUser = Hive::CurrentUser;
constexpr Hive kMachine = Hive::LocalMachine;

// A folder of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string pattern = testing::TempDir() + "rizorivu-registry-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

// Names of the hives moved aside in `dir` (without their companions).
std::vector<std::string> asideFiles(const fs::path& dir) {
    const std::regex name(R"(HKEY_(CURRENT_USER|LOCAL_MACHINE)\.hive\.damaged-\d{8}-\d{6}(-\d+)?)");
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, name)) {
            out.push_back(file);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every file in `dir` whose name mentions "damaged", companions included.
std::vector<std::string> damagedEntries(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        if (file.find("damaged") != std::string::npos) {
            out.push_back(file);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Runs one SQL script on a file with SQLite directly, outside the store.
bool runSql(const fs::path& path, const char* sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

class RegistryStoreTest : public testing::Test {
protected:
    RegistryStore& open() {
        store_.reset();
        store_.emplace(HiveLocations::inDirectory(dir_.path()), diagnostics_);
        return *store_;
    }
    void close() { store_.reset(); }

    TempDir dir_;
    std::ostringstream diagnostics_;
    std::optional<RegistryStore> store_;
};

TEST(RegistryHiveLocationsTest, FromEnvironmentPicksTheFolder) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> vars;
        const char* expectedDir;
    };
    const Case cases[] = {
        {"override wins",
         {{"RIZORIVU_REGISTRY_DIR", "/reg"}, {"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}},
         "/reg"},
        {"empty override ignored",
         {{"RIZORIVU_REGISTRY_DIR", ""}, {"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}},
         "/cfg/rizorivu"},
        {"blank override ignored",
         {{"RIZORIVU_REGISTRY_DIR", "  "}, {"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}},
         "/cfg/rizorivu"},
        {"xdg config home", {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg/rizorivu"},
        {"relative xdg ignored",
         {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}},
         "/home/u/.config/rizorivu"},
        {"empty xdg ignored",
         {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}},
         "/home/u/.config/rizorivu"},
        {"home only", {{"HOME", "/home/u"}}, "/home/u/.config/rizorivu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedEnvironment env;
        for (const auto& [name, value] : c.vars) {
            env.set(name, value);
        }
        const HiveLocations locations = HiveLocations::fromEnvironment(env);
        EXPECT_EQ(locations.currentUser, fs::path(c.expectedDir) / "HKEY_CURRENT_USER.hive");
        EXPECT_EQ(locations.localMachine, fs::path(c.expectedDir) / "HKEY_LOCAL_MACHINE.hive");
    }
}

TEST_F(RegistryStoreTest, NamesMatchWithoutRegardToCase) {
    struct Case {
        const char* key;
        const char* name;
        const char* otherKey;
        const char* otherName;
    };
    const Case cases[] = {
        {"Software\\Station", "Passphrase", "SOFTWARE\\station", "passPHRASE"},
        {"Café\\Crème", "Naïve", "CAFÉ\\CRÈME", "NAÏVE"},
        {"Σπίτι", "Όνομα", "ΣΠΊΤΙ", "όνομα"},
        {"Профиль", "Ключ", "ПРОФИЛЬ", "КЛЮЧ"},
    };
    RegistryStore& store = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(store.writeString(kUser, c.key, c.name, "first"));
        EXPECT_EQ(store.readString(kUser, c.otherKey, c.otherName), "first");
        EXPECT_TRUE(store.keyExists(kUser, c.otherKey));

        // Writing through the other spelling updates the same value.
        ASSERT_TRUE(store.writeString(kUser, c.otherKey, c.otherName, "second"));
        EXPECT_EQ(store.readString(kUser, c.key, c.name), "second");
        EXPECT_THAT(store.valueNames(kUser, c.key), ElementsAre(c.name));
    }
}

TEST_F(RegistryStoreTest, NamesKeepTheirFirstSpelling) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "Profiles\\Office", "Passphrase", "a"));
    ASSERT_TRUE(store.writeString(kUser, "PROFILES\\OFFICE", "PASSPHRASE", "b"));
    ASSERT_TRUE(store.createKey(kUser, "profiles\\office\\Extra"));

    EXPECT_THAT(store.subKeyNames(kUser, ""), ElementsAre("Profiles"));
    EXPECT_THAT(store.subKeyNames(kUser, "PROFILES"), ElementsAre("Office"));
    EXPECT_THAT(store.valueNames(kUser, "profiles\\office"), ElementsAre("Passphrase"));

    // Once deleted, a name is spelt as it is created again.
    ASSERT_TRUE(store.deleteValue(kUser, "Profiles\\Office", "passphrase"));
    ASSERT_TRUE(store.writeDword(kUser, "Profiles\\Office", "PASSPHRASE", 1));
    EXPECT_THAT(store.valueNames(kUser, "Profiles\\Office"), ElementsAre("PASSPHRASE"));
    ASSERT_TRUE(store.deleteKey(kUser, "Profiles"));
    ASSERT_TRUE(store.createKey(kUser, "PROFILES"));
    EXPECT_THAT(store.subKeyNames(kUser, ""), ElementsAre("PROFILES"));
}

TEST_F(RegistryStoreTest, EmptyPathComponentsAreIgnored) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeDword(kUser, "Last\\Station", "Channel", 6));
    for (const char* spelling : {"Last\\Station", "\\Last\\Station", "Last\\Station\\",
                                 "Last\\\\Station", "\\\\Last\\\\\\Station\\\\"}) {
        SCOPED_TRACE(spelling);
        EXPECT_EQ(store.readDword(kUser, spelling, "Channel"), 6u);
        EXPECT_TRUE(store.keyExists(kUser, spelling));
    }
    EXPECT_THAT(store.subKeyNames(kUser, "\\"), ElementsAre("Last"));
    EXPECT_THAT(store.subKeyNames(kUser, "Last\\"), ElementsAre("Station"));
}

TEST_F(RegistryStoreTest, OnlyBackslashSeparatesKeys) {
    RegistryStore& store = open();
    // A slash belongs to the name, and a value name is never split.
    ASSERT_TRUE(store.writeString(kUser, "Net/Work", "Path\\Like", "v"));
    EXPECT_THAT(store.subKeyNames(kUser, ""), ElementsAre("Net/Work"));
    EXPECT_FALSE(store.keyExists(kUser, "Net"));
    EXPECT_FALSE(store.keyExists(kUser, "Net/Work\\Path"));
    EXPECT_EQ(store.readString(kUser, "net/work", "path\\like"), "v");
    EXPECT_EQ(store.readString(kUser, "Net/Work\\Path", "Like"), std::nullopt);
}

TEST_F(RegistryStoreTest, RootKeyAlwaysExistsAndCannotBeDeleted) {
    RegistryStore& store = open();
    EXPECT_TRUE(store.keyExists(kUser, ""));
    EXPECT_TRUE(store.keyExists(kMachine, "\\\\"));
    EXPECT_TRUE(store.createKey(kUser, ""));

    ASSERT_TRUE(store.writeString(kUser, "", "AtRoot", "r"));
    ASSERT_TRUE(store.writeString(kUser, "Top", "Below", "b"));
    EXPECT_FALSE(store.deleteKey(kUser, ""));
    EXPECT_FALSE(store.deleteKey(kUser, "\\"));
    EXPECT_EQ(store.readString(kUser, "\\", "atroot"), "r");
    EXPECT_EQ(store.readString(kUser, "Top", "Below"), "b");
    EXPECT_THAT(store.valueNames(kUser, ""), ElementsAre("AtRoot"));
}

TEST_F(RegistryStoreTest, ValuesKeepTheirType) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "K", "V", "text"));
    EXPECT_EQ(store.readDword(kUser, "K", "V"), std::nullopt);
    EXPECT_EQ(store.readValue(kUser, "K", "V"),
              (RegistryValue{RegistryValue::Type::String, "text", 0}));

    // A write of the other type replaces the value, keeping its name.
    ASSERT_TRUE(store.writeDword(kUser, "k", "v", 7));
    EXPECT_EQ(store.readString(kUser, "K", "V"), std::nullopt);
    EXPECT_EQ(store.readDword(kUser, "K", "V"), 7u);
    EXPECT_EQ(store.readValue(kUser, "K", "V"), (RegistryValue{RegistryValue::Type::Dword, "", 7}));
    EXPECT_THAT(store.valueNames(kUser, "K"), ElementsAre("V"));

    ASSERT_TRUE(store.writeString(kUser, "K", "V", "again"));
    EXPECT_EQ(store.readString(kUser, "K", "V"), "again");
    EXPECT_EQ(store.readDword(kUser, "K", "V"), std::nullopt);
}

TEST_F(RegistryStoreTest, ValuesRoundTripExactly) {
    const std::string strings[] = {
        "",
        "plain",
        "Grüße, 日本語, emoji \xF0\x9F\x93\xB6",
        std::string("embedded\0nul", 12),
        "not UTF-8: \xFF\xFE\x80",
        std::string(100000, 'x'),
    };
    RegistryStore& store = open();
    int i = 0;
    for (const std::string& text : strings) {
        const std::string name = "S" + std::to_string(i++);
        ASSERT_TRUE(store.writeString(kUser, "Round", name, text));
        EXPECT_EQ(store.readString(kUser, "Round", name), text) << name;
    }
    for (const std::uint32_t dword : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(store.writeDword(kUser, "Round", "D", dword));
        EXPECT_EQ(store.readDword(kUser, "Round", "D"), dword);
    }
}

TEST_F(RegistryStoreTest, EmptyValueNameIsTheDefaultValue) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "K", "", "default"));
    ASSERT_TRUE(store.writeString(kUser, "K", "Default", "named"));
    EXPECT_EQ(store.readString(kUser, "K", ""), "default");
    EXPECT_EQ(store.readString(kUser, "K", "Default"), "named");
    EXPECT_THAT(store.valueNames(kUser, "K"), UnorderedElementsAre("", "Default"));
    ASSERT_TRUE(store.deleteValue(kUser, "K", ""));
    EXPECT_EQ(store.readString(kUser, "K", ""), std::nullopt);
    EXPECT_EQ(store.readString(kUser, "K", "Default"), "named");
}

TEST_F(RegistryStoreTest, MissingKeysAndValuesReadAsNothing) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "Present", "Value", "v"));
    EXPECT_EQ(store.readValue(kUser, "Absent", "Value"), std::nullopt);
    EXPECT_EQ(store.readValue(kUser, "Present", "Absent"), std::nullopt);
    EXPECT_EQ(store.readValue(kUser, "Present\\Child", "Value"), std::nullopt);
    EXPECT_FALSE(store.keyExists(kUser, "Absent"));
    EXPECT_FALSE(store.keyExists(kUser, "Present\\Child"));
    EXPECT_THAT(store.subKeyNames(kUser, "Absent"), IsEmpty());
    EXPECT_THAT(store.valueNames(kUser, "Absent"), IsEmpty());
    EXPECT_FALSE(store.deleteValue(kUser, "Present", "Absent"));
    EXPECT_FALSE(store.deleteValue(kUser, "Absent", "Value"));
    EXPECT_FALSE(store.deleteKey(kUser, "Absent"));
    EXPECT_EQ(diagnostics_.str(), "");
}

TEST_F(RegistryStoreTest, WritesAndCreateKeyCreateAncestors) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "A\\B\\C", "V", "v"));
    ASSERT_TRUE(store.createKey(kUser, "X\\Y\\Z"));
    ASSERT_TRUE(store.createKey(kUser, "x\\y\\z"));
    for (const char* key : {"A", "A\\B", "A\\B\\C", "X", "X\\Y", "X\\Y\\Z"}) {
        EXPECT_TRUE(store.keyExists(kUser, key)) << key;
    }
    EXPECT_THAT(sorted(store.subKeyNames(kUser, "")), ElementsAre("A", "X"));
    EXPECT_THAT(store.subKeyNames(kUser, "A"), ElementsAre("B"));
    EXPECT_THAT(store.subKeyNames(kUser, "X\\Y"), ElementsAre("Z"));
    EXPECT_THAT(store.valueNames(kUser, "A\\B"), IsEmpty());
}

TEST_F(RegistryStoreTest, DeleteValueRemovesOnlyThatValue) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "K", "One", "1"));
    ASSERT_TRUE(store.writeDword(kUser, "K", "Two", 2));
    EXPECT_TRUE(store.deleteValue(kUser, "k", "ONE"));
    EXPECT_FALSE(store.deleteValue(kUser, "K", "One"));
    EXPECT_EQ(store.readString(kUser, "K", "One"), std::nullopt);
    EXPECT_EQ(store.readDword(kUser, "K", "Two"), 2u);
    EXPECT_TRUE(store.keyExists(kUser, "K"));
}

TEST_F(RegistryStoreTest, DeleteKeyRemovesTheSubtreeAndNothingElse) {
    RegistryStore& store = open();
    // Keys whose folded paths sort next to "NET\..." must survive.
    const char* victims[] = {"Net", "Net\\A", "Net\\A\\Deep", "Net\\B"};
    const char* survivors[] = {"Network", "Net A", "Net]x", "Nes", "Nets\\Net", "Other\\Net"};
    for (const char* key : victims) {
        ASSERT_TRUE(store.writeString(kUser, key, "V", key));
    }
    for (const char* key : survivors) {
        ASSERT_TRUE(store.writeString(kUser, key, "V", key));
    }
    ASSERT_TRUE(store.writeString(kMachine, "Net", "V", "other hive"));

    EXPECT_TRUE(store.deleteKey(kUser, "NET"));
    EXPECT_FALSE(store.deleteKey(kUser, "Net"));
    for (const char* key : victims) {
        EXPECT_FALSE(store.keyExists(kUser, key)) << key;
        EXPECT_EQ(store.readString(kUser, key, "V"), std::nullopt) << key;
    }
    for (const char* key : survivors) {
        EXPECT_EQ(store.readString(kUser, key, "V"), key) << key;
    }
    EXPECT_EQ(store.readString(kMachine, "Net", "V"), "other hive");
    EXPECT_THAT(sorted(store.subKeyNames(kUser, "")),
                ElementsAre("Nes", "Net A", "Net]x", "Nets", "Network", "Other"));

    // Nothing of the old subtree comes back when the path is created again.
    ASSERT_TRUE(store.createKey(kUser, "Net\\A"));
    EXPECT_THAT(store.subKeyNames(kUser, "Net\\A"), IsEmpty());
    EXPECT_THAT(store.valueNames(kUser, "Net\\A"), IsEmpty());
    EXPECT_THAT(store.subKeyNames(kUser, "Net"), ElementsAre("A"));
}

TEST_F(RegistryStoreTest, DeleteKeyOfALeaf) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "P\\Leaf", "V", "v"));
    ASSERT_TRUE(store.createKey(kUser, "P\\Sibling"));
    EXPECT_TRUE(store.deleteKey(kUser, "p\\leaf\\"));
    EXPECT_THAT(store.subKeyNames(kUser, "P"), ElementsAre("Sibling"));
}

TEST_F(RegistryStoreTest, EnumerationListsDirectChildrenOnly) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.createKey(kUser, "Root\\One\\Grandchild"));
    ASSERT_TRUE(store.createKey(kUser, "Root\\Two"));
    ASSERT_TRUE(store.writeString(kUser, "Root", "V1", "a"));
    ASSERT_TRUE(store.writeDword(kUser, "Root", "V2", 2));
    ASSERT_TRUE(store.writeString(kUser, "Root\\One", "Nested", "n"));
    EXPECT_THAT(sorted(store.subKeyNames(kUser, "Root")), ElementsAre("One", "Two"));
    EXPECT_THAT(sorted(store.valueNames(kUser, "Root")), ElementsAre("V1", "V2"));
    EXPECT_THAT(store.subKeyNames(kUser, "Root\\One\\Grandchild"), IsEmpty());
}

TEST_F(RegistryStoreTest, HivesAreSeparateFiles) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "K", "V", "user"));
    ASSERT_TRUE(store.writeString(kMachine, "K", "V", "machine"));
    EXPECT_EQ(store.readString(kUser, "K", "V"), "user");
    EXPECT_EQ(store.readString(kMachine, "K", "V"), "machine");
    ASSERT_TRUE(store.deleteKey(kMachine, "K"));
    EXPECT_EQ(store.readString(kUser, "K", "V"), "user");
    EXPECT_EQ(store.hivePath(kUser), dir_.path() / "HKEY_CURRENT_USER.hive");
    EXPECT_EQ(store.hivePath(kMachine), dir_.path() / "HKEY_LOCAL_MACHINE.hive");
}

TEST_F(RegistryStoreTest, ValuesPersistAcrossReopening) {
    {
        RegistryStore& store = open();
        ASSERT_TRUE(store.writeString(kUser, "Profiles\\Café", "Passphrase", "secret"));
        ASSERT_TRUE(store.writeDword(kMachine, "Driver", "Installed", 1));
        ASSERT_TRUE(store.createKey(kUser, "Empty"));
        close();
    }
    RegistryStore& store = open();
    EXPECT_EQ(store.readString(kUser, "PROFILES\\CAFÉ", "passphrase"), "secret");
    EXPECT_EQ(store.readDword(kMachine, "driver", "installed"), 1u);
    EXPECT_THAT(sorted(store.subKeyNames(kUser, "")), ElementsAre("Empty", "Profiles"));
    EXPECT_THAT(store.subKeyNames(kUser, "Profiles"), ElementsAre("Café"));
    EXPECT_EQ(diagnostics_.str(), "");
}

TEST_F(RegistryStoreTest, TwoStoresOnOneHiveSeeEachOthersWrites) {
    RegistryStore& first = open();
    std::ostringstream otherDiagnostics;
    RegistryStore second(HiveLocations::inDirectory(dir_.path()), otherDiagnostics);

    ASSERT_TRUE(first.writeString(kUser, "Shared", "Name", "from first"));
    EXPECT_EQ(second.readString(kUser, "shared", "name"), "from first");
    ASSERT_TRUE(second.writeString(kUser, "Shared", "Name", "from second"));
    EXPECT_EQ(first.readString(kUser, "Shared", "Name"), "from second");

    ASSERT_TRUE(second.createKey(kUser, "Shared\\Child"));
    EXPECT_THAT(first.subKeyNames(kUser, "Shared"), ElementsAre("Child"));
    ASSERT_TRUE(first.deleteKey(kUser, "Shared"));
    EXPECT_FALSE(second.keyExists(kUser, "Shared\\Child"));
    EXPECT_EQ(second.readString(kUser, "Shared", "Name"), std::nullopt);

    EXPECT_EQ(diagnostics_.str(), "");
    EXPECT_EQ(otherDiagnostics.str(), "");
}

// The store keeps its statements prepared for the life of the hive. Another program
// rebuilding the tables under them (the rebuilt table lives on other pages) must not leave
// them reading or writing the old layout.
TEST_F(RegistryStoreTest, KeptStatementsFollowASchemaChangeByAnotherConnection) {
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "A\\B", "Name", "before"));
    ASSERT_EQ(store.readString(kUser, "A\\B", "Name"), "before");
    ASSERT_TRUE(runSql(store.hivePath(kUser),
                       "CREATE INDEX extra ON hive_values (display);"
                       "ALTER TABLE hive_values RENAME TO old_values;"
                       "CREATE TABLE hive_values (key_path TEXT NOT NULL, name TEXT NOT NULL,"
                       " display TEXT NOT NULL, type INTEGER NOT NULL CHECK (type IN (1, 4)),"
                       " data NOT NULL, PRIMARY KEY (key_path, name)) WITHOUT ROWID;"
                       "INSERT INTO hive_values SELECT * FROM old_values;"
                       "DROP TABLE old_values;"
                       "CREATE TABLE unrelated (x);"));

    EXPECT_EQ(store.readString(kUser, "a\\b", "name"), "before");
    EXPECT_TRUE(store.writeDword(kUser, "A\\B", "Count", 3));
    EXPECT_EQ(store.readDword(kUser, "A\\B", "Count"), 3u);
    EXPECT_THAT(sorted(store.valueNames(kUser, "A\\B")), ElementsAre("Count", "Name"));
    EXPECT_THAT(store.subKeyNames(kUser, "A"), ElementsAre("B"));
    EXPECT_TRUE(store.deleteKey(kUser, "A"));
    EXPECT_FALSE(store.keyExists(kUser, "A\\B"));
    EXPECT_EQ(diagnostics_.str(), "");
}

// Restores the process umask when it goes out of scope.
class UmaskGuard {
public:
    explicit UmaskGuard(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskGuard() { ::umask(previous_); }
    UmaskGuard(const UmaskGuard&) = delete;
    UmaskGuard& operator=(const UmaskGuard&) = delete;

private:
    mode_t previous_;
};

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return 0;
    }
    return st.st_mode & 07777;
}

TEST_F(RegistryStoreTest, FilesAndFoldersArePrivate) {
    // With no umask to help, the modes must come from the store itself.
    const UmaskGuard noMask(0);
    const fs::path folder = dir_.path() / "config" / "rizorivu";
    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(folder), diagnostics);
    ASSERT_TRUE(store.writeString(kUser, "K", "Passphrase", "secret"));
    ASSERT_TRUE(store.writeString(kMachine, "K", "V", "v"));

    EXPECT_EQ(modeOf(dir_.path() / "config"), 0700);
    EXPECT_EQ(modeOf(folder), 0700);
    for (const char* hive : {"HKEY_CURRENT_USER.hive", "HKEY_LOCAL_MACHINE.hive"}) {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            const fs::path file = folder / (std::string(hive) + suffix);
            ASSERT_TRUE(fs::exists(file)) << file;
            EXPECT_EQ(modeOf(file), 0600) << file;
        }
    }
    EXPECT_EQ(diagnostics.str(), "");
}

// --- Damaged and unusable hives ---------------------------------------------------------------

class RegistryStoreDamageTest : public RegistryStoreTest {
public:
    fs::path userHive() const { return dir_.path() / "HKEY_CURRENT_USER.hive"; }

    // A real hive with enough values to span many pages.
    void writeFullHive() {
        RegistryStore& store = open();
        for (int i = 0; i < 400; ++i) {
            store.writeString(kUser, "Bulk\\Key" + std::to_string(i % 10), "V" + std::to_string(i),
                              std::string(300, static_cast<char>('a' + i % 26)));
        }
        close();
    }

protected:
    // Checks that the store moved the damaged bytes aside untouched, said so in one line, and
    // carries on with an empty hive that persists.
    void expectMovedAsideAndReplaced(const std::string& damaged) {
        const std::vector<std::string> aside = asideFiles(dir_.path());
        ASSERT_EQ(aside.size(), 1u) << testing::PrintToString(damagedEntries(dir_.path()));
        EXPECT_THAT(aside[0], testing::StartsWith("HKEY_CURRENT_USER.hive."));
        EXPECT_EQ(readBytes(dir_.path() / aside[0]), damaged);
        // Companions go along under the same name, so that nothing old sits beside the new hive.
        for (const std::string& entry : damagedEntries(dir_.path())) {
            EXPECT_THAT(entry, testing::AnyOf(aside[0], aside[0] + "-wal", aside[0] + "-shm"));
        }

        const std::vector<std::string> reported = lines(diagnostics_.str());
        ASSERT_EQ(reported.size(), 1u) << diagnostics_.str();
        EXPECT_THAT(reported[0], HasSubstr((dir_.path() / aside[0]).string()));

        RegistryStore& store = *store_;
        EXPECT_EQ(store.hivePath(kUser), userHive());
        EXPECT_THAT(store.subKeyNames(kUser, ""), IsEmpty());
        ASSERT_TRUE(store.writeString(kUser, "After", "V", "fresh"));
        ASSERT_TRUE(store.writeString(kMachine, "Other", "V", "untouched"));

        diagnostics_.str("");
        RegistryStore& reopened = open();
        EXPECT_EQ(reopened.readString(kUser, "After", "V"), "fresh");
        EXPECT_EQ(reopened.readString(kMachine, "Other", "V"), "untouched");
        EXPECT_EQ(diagnostics_.str(), "");
        EXPECT_EQ(asideFiles(dir_.path()).size(), 1u);
    }
};

TEST_F(RegistryStoreDamageTest, DamagedHiveIsMovedAsideAndReplaced) {
    struct Case {
        const char* name;
        std::function<void(RegistryStoreDamageTest&)> damage;
    };
    const Case cases[] = {
        {"garbage bytes",
         [](RegistryStoreDamageTest& t) {
             std::string garbage;
             for (int i = 0; i < 10000; ++i) {
                 garbage += static_cast<char>((i * 7919 + 13) % 251);
             }
             writeBytes(t.userHive(), garbage);
         }},
        {"truncated database",
         [](RegistryStoreDamageTest& t) {
             t.writeFullHive();
             fs::resize_file(t.userHive(), fs::file_size(t.userHive()) / 2);
         }},
        {"pages overwritten",
         [](RegistryStoreDamageTest& t) {
             t.writeFullHive();
             std::string bytes = readBytes(t.userHive());
             for (std::size_t i = 4096; i < bytes.size(); i += 3) {
                 bytes[i] = '\x5A';
             }
             writeBytes(t.userHive(), bytes);
         }},
        {"another program's database",
         [](RegistryStoreDamageTest& t) {
             ASSERT_TRUE(runSql(t.userHive(), "CREATE TABLE songs (title TEXT);"));
         }},
        {"written by a newer version",
         [](RegistryStoreDamageTest& t) {
             t.writeFullHive();
             ASSERT_TRUE(runSql(t.userHive(), "PRAGMA user_version = 99;"));
         }},
        {"schema does not fit",
         [](RegistryStoreDamageTest& t) {
             t.writeFullHive();
             ASSERT_TRUE(runSql(t.userHive(), "DROP TABLE hive_values;"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_.path());
        fs::create_directory(dir_.path());
        diagnostics_.str("");
        c.damage(*this);
        ASSERT_FALSE(fs::exists(userHive().string() + "-wal"));
        const std::string damaged = readBytes(userHive());
        ASSERT_FALSE(damaged.empty());

        open();
        expectMovedAsideAndReplaced(damaged);
        close();
    }
}

TEST_F(RegistryStoreDamageTest, CompanionFilesMoveAlongWithTheHive) {
    const std::string garbage(5000, '\x42');
    const std::string log = "not a write-ahead log";
    writeBytes(userHive(), garbage);
    writeBytes(userHive().string() + "-wal", log);

    RegistryStore& store = open();
    const std::vector<std::string> aside = asideFiles(dir_.path());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readBytes(dir_.path() / aside[0]), garbage);
    EXPECT_EQ(readBytes(dir_.path() / (aside[0] + "-wal")), log);
    EXPECT_EQ(lines(diagnostics_.str()).size(), 1u);
    ASSERT_TRUE(store.writeString(kUser, "K", "V", "v"));
    EXPECT_EQ(store.readString(kUser, "K", "V"), "v");
}

TEST_F(RegistryStoreDamageTest, EarlierCopiesAreNeverOverwritten) {
    // Two damaged hives in quick succession usually share a timestamp.
    const std::string first(5000, '\x01');
    const std::string second(6000, '\x02');
    writeBytes(userHive(), first);
    open();
    close();
    writeBytes(userHive(), second);
    open();

    const std::vector<std::string> aside = asideFiles(dir_.path());
    ASSERT_EQ(aside.size(), 2u);
    std::vector<std::string> contents{readBytes(dir_.path() / aside[0]),
                                      readBytes(dir_.path() / aside[1])};
    EXPECT_THAT(contents, UnorderedElementsAre(first, second));
    EXPECT_EQ(lines(diagnostics_.str()).size(), 2u);
}

TEST_F(RegistryStoreDamageTest, OnlyTheNewestDamagedCopiesAreKeptAndTheStoreNamesItsOwn) {
    // Copies of earlier starts, one with a companion; numbers count on within one second.
    const std::string base = userHive().string() + ".damaged-";
    for (const char* old :
         {"20200101-000000", "20200101-000000-2", "20200101-000000-10", "20210101-000000"}) {
        writeBytes(base + old, "old");
    }
    writeBytes(base + "20200101-000000-wal", "old log");
    writeBytes(base + "notes.txt", "not a copy");
    writeBytes(dir_.path() / "HKEY_LOCAL_MACHINE.hive.damaged-20190101-000000", "other hive");
    writeBytes(userHive(), std::string(5000, '\x42'));

    RegistryStore& store = open();
    const std::vector<std::string> copies = store.damagedCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readBytes(copies[0]), std::string(5000, '\x42'));
    EXPECT_EQ(damagedEntries(dir_.path()),
              sorted({fs::path(copies[0]).filename().string(),
                      "HKEY_CURRENT_USER.hive.damaged-20200101-000000-10",
                      "HKEY_CURRENT_USER.hive.damaged-20210101-000000",
                      "HKEY_CURRENT_USER.hive.damaged-notes.txt",
                      "HKEY_LOCAL_MACHINE.hive.damaged-20190101-000000"}));

    EXPECT_THAT(open().damagedCopies(), IsEmpty()) << "the new hive is sound";
}

TEST_F(RegistryStoreDamageTest, EmptyFileIsAFreshHive) {
    // What a crash right after creating the file leaves behind.
    writeBytes(userHive(), "");
    RegistryStore& store = open();
    ASSERT_TRUE(store.writeString(kUser, "K", "V", "v"));
    EXPECT_EQ(store.readString(kUser, "K", "V"), "v");
    EXPECT_EQ(diagnostics_.str(), "");
    EXPECT_THAT(asideFiles(dir_.path()), IsEmpty());
}

TEST_F(RegistryStoreDamageTest, UnusableLocationFallsBackToMemory) {
    struct Case {
        const char* name;
        std::function<HiveLocations(const fs::path&)> prepare;
        bool machineInMemory;
    };
    const Case cases[] = {
        {"folder cannot be created",
         [](const fs::path& dir) {
             writeBytes(dir / "plain-file", "x");
             return HiveLocations::inDirectory(dir / "plain-file" / "registry");
         },
         true},
        {"hive path is a folder",
         [](const fs::path& dir) {
             fs::create_directory(dir / "HKEY_CURRENT_USER.hive");
             return HiveLocations::inDirectory(dir);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_.path());
        fs::create_directory(dir_.path());
        const HiveLocations locations = c.prepare(dir_.path());
        std::ostringstream diagnostics;
        {
            RegistryStore store(locations, diagnostics);
            EXPECT_EQ(store.hivePath(kUser), fs::path());
            EXPECT_EQ(store.hivePath(kMachine),
                      c.machineInMemory ? fs::path() : locations.localMachine);
            ASSERT_TRUE(store.writeString(kUser, "K", "V", "in memory"));
            EXPECT_EQ(store.readString(kUser, "K", "V"), "in memory");
        }
        const std::vector<std::string> reported = lines(diagnostics.str());
        ASSERT_EQ(reported.size(), c.machineInMemory ? 2u : 1u) << diagnostics.str();
        EXPECT_THAT(reported[0], HasSubstr(locations.currentUser.string()));
        EXPECT_THAT(reported[0], HasSubstr("memory"));
        EXPECT_THAT(asideFiles(dir_.path()), IsEmpty());

        // Nothing was kept: the next run starts empty again.
        std::ostringstream again;
        RegistryStore next(locations, again);
        EXPECT_EQ(next.readString(kUser, "K", "V"), std::nullopt);
    }
}

TEST_F(RegistryStoreDamageTest, UnwritableFolderFallsBackToMemory) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not bind root";
    }
    // One folder without a hive yet, one whose healthy hive must stay exactly as it is.
    const fs::path empty = dir_.path() / "empty";
    const fs::path existing = dir_.path() / "existing";
    fs::create_directory(empty);
    {
        std::ostringstream ignored;
        RegistryStore store(HiveLocations::inDirectory(existing), ignored);
        ASSERT_TRUE(store.writeString(kUser, "K", "V", "kept"));
    }
    const HiveLocations locations = HiveLocations::inDirectory(existing);
    const std::string before = readBytes(locations.currentUser);

    for (const fs::path& folder : {empty, existing}) {
        SCOPED_TRACE(folder.string());
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        std::ostringstream diagnostics;
        {
            RegistryStore store(HiveLocations::inDirectory(folder), diagnostics);
            EXPECT_EQ(store.hivePath(kUser), fs::path());
            ASSERT_TRUE(store.writeString(kUser, "K", "V", "in memory"));
            EXPECT_EQ(store.readString(kUser, "K", "V"), "in memory");
        }
        fs::permissions(folder, fs::perms::owner_all);
        const std::vector<std::string> reported = lines(diagnostics.str());
        ASSERT_EQ(reported.size(), 2u) << diagnostics.str();
        EXPECT_THAT(reported[0], HasSubstr("memory"));
        EXPECT_THAT(asideFiles(folder), IsEmpty());
    }
    EXPECT_FALSE(fs::exists(HiveLocations::inDirectory(empty).currentUser));
    EXPECT_EQ(readBytes(locations.currentUser), before);
}

TEST_F(RegistryStoreDamageTest, DamageFoundWhileRunningIsReportedOnce) {
    writeFullHive();
    RegistryStore& store = open();
    ASSERT_EQ(store.readString(kUser, "Bulk\\Key1", "V1"), std::string(300, 'b'));

    // Wreck every page but the first (the schema), then commit a change to the first page from
    // outside so that the store drops the pages it has cached.
    std::string bytes = readBytes(userHive());
    std::fill(bytes.begin() + 4096, bytes.end(), '\xEE');
    {
        std::fstream file(userHive(), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(4096);
        file.write(bytes.data() + 4096, static_cast<std::streamsize>(bytes.size() - 4096));
    }
    ASSERT_TRUE(runSql(userHive(), "PRAGMA user_version = 1;"));

    EXPECT_EQ(store.readString(kUser, "Bulk\\Key1", "V1"), std::nullopt);
    EXPECT_FALSE(store.writeString(kUser, "Bulk\\Key1", "V1", "new"));
    EXPECT_FALSE(store.deleteKey(kUser, "Bulk"));
    EXPECT_THAT(store.subKeyNames(kUser, "Bulk"), IsEmpty());
    ASSERT_TRUE(store.writeString(kMachine, "K", "V", "unaffected"));
    EXPECT_EQ(store.readString(kMachine, "K", "V"), "unaffected");

    const std::vector<std::string> reported = lines(diagnostics_.str());
    ASSERT_EQ(reported.size(), 1u) << diagnostics_.str();
    EXPECT_THAT(reported[0], HasSubstr(userHive().string()));

    // The next start finds the damage and moves the hive aside.
    diagnostics_.str("");
    open();
    EXPECT_EQ(asideFiles(dir_.path()).size(), 1u);
    EXPECT_EQ(lines(diagnostics_.str()).size(), 1u) << diagnostics_.str();
}

}  // namespace
}  // namespace rizorivu
