#include "platform/RegistryStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace rizorivu {
namespace {

namespace fs = std::filesystem;

constexpr Hive kUser = Hive::CurrentUser;

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

// --- Threads --------------------------------------------------------------------------------

constexpr int kRounds = 200;

std::string threadValue(char thread, int round) {
    return std::string(1, thread) + ":" + std::to_string(round);
}

// Each thread writes values of its own and one value they share, reading its own back at once.
// Returns the number of reads that did not see what the thread had just written.
int writeAndReadBack(RegistryStore& store, char thread) {
    int mismatches = 0;
    const std::string own = std::string("Own") + thread;
    for (int round = 0; round < kRounds; ++round) {
        const std::string name = "V" + std::to_string(round);
        const std::string value = threadValue(thread, round);
        mismatches += store.writeString(kUser, "Threads", own + name, value) ? 0 : 1;
        mismatches += store.writeString(kUser, "Threads", "Shared", value) ? 0 : 1;
        mismatches +=
            store.writeDword(kUser, "Threads\\" + own, "Round", static_cast<std::uint32_t>(round))
                ? 0
                : 1;
        mismatches += store.readString(kUser, "Threads", own + name) == value ? 0 : 1;
        mismatches +=
            store.readDword(kUser, "threads\\" + own, "round") == static_cast<std::uint32_t>(round)
                ? 0
                : 1;
        // The shared value is always one thread's write, never a mixture.
        const auto shared = store.readString(kUser, "Threads", "Shared");
        mismatches += shared && (shared->front() == 'A' || shared->front() == 'B') ? 0 : 1;
        store.subKeyNames(kUser, "Threads");
    }
    return mismatches;
}

void expectFinalState(RegistryStore& store) {
    for (const char thread : {'A', 'B'}) {
        const std::string own = std::string("Own") + thread;
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_EQ(store.readString(kUser, "Threads", own + "V" + std::to_string(round)),
                      threadValue(thread, round));
        }
        EXPECT_EQ(store.readDword(kUser, "Threads\\" + own, "Round"),
                  static_cast<std::uint32_t>(kRounds - 1));
    }
    EXPECT_THAT(store.readString(kUser, "Threads", "Shared"),
                testing::AnyOf(threadValue('A', kRounds - 1), threadValue('B', kRounds - 1)));
    EXPECT_EQ(store.valueNames(kUser, "Threads").size(), 2u * kRounds + 1);
    EXPECT_THAT(store.subKeyNames(kUser, "Threads"), testing::UnorderedElementsAre("OwnA", "OwnB"));
}

TEST(RegistryStoreConcurrencyTest, TwoThreadsShareOneStore) {
    TempDir dir;
    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
    std::atomic<int> mismatches{0};
    std::thread a([&] { mismatches += writeAndReadBack(store, 'A'); });
    std::thread b([&] { mismatches += writeAndReadBack(store, 'B'); });
    a.join();
    b.join();
    EXPECT_EQ(mismatches.load(), 0);
    expectFinalState(store);
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(RegistryStoreConcurrencyTest, TwoStoresInTwoThreads) {
    TempDir dir;
    std::ostringstream diagnosticsA;
    std::ostringstream diagnosticsB;
    std::atomic<int> mismatches{0};
    // Both open the not yet existing hive at the same moment, racing to create it.
    std::thread a([&] {
        RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnosticsA);
        mismatches += writeAndReadBack(store, 'A');
    });
    std::thread b([&] {
        RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnosticsB);
        mismatches += writeAndReadBack(store, 'B');
    });
    a.join();
    b.join();
    EXPECT_EQ(mismatches.load(), 0);
    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
    expectFinalState(store);
    EXPECT_EQ(diagnosticsA.str(), "");
    EXPECT_EQ(diagnosticsB.str(), "");
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(RegistryStoreConcurrencyTest, DeletingAKeyWhileAnotherThreadWritesBelowIt) {
    TempDir dir;
    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::thread writer([&] {
        for (int i = 0; i < kRounds; ++i) {
            failures +=
                store.writeDword(kUser, "Tree\\Branch\\Leaf", "I", static_cast<std::uint32_t>(i))
                    ? 0
                    : 1;
        }
        done = true;
    });
    std::thread deleter([&] {
        while (!done) {
            store.deleteKey(kUser, "Tree");
            // A value never outlives its key: either both are there or neither.
            // Only this thread deletes, so a value seen first must still have its key.
            const bool value = store.readDword(kUser, "Tree\\Branch\\Leaf", "I").has_value();
            const bool leaf = store.keyExists(kUser, "Tree\\Branch\\Leaf");
            failures += value && !leaf ? 1 : 0;
        }
    });
    writer.join();
    deleter.join();
    EXPECT_EQ(failures.load(), 0);
    // Whatever is left is whole: a value implies its key and all ancestors.
    if (store.readDword(kUser, "Tree\\Branch\\Leaf", "I")) {
        EXPECT_TRUE(store.keyExists(kUser, "Tree\\Branch"));
        EXPECT_THAT(store.subKeyNames(kUser, "Tree"), testing::ElementsAre("Branch"));
    }
    EXPECT_EQ(diagnostics.str(), "");
}

// --- Processes ------------------------------------------------------------------------------
// The child is forked before the parent opens the hive: SQLite connections must not be carried
// across fork(). Children report through their exit status.

// Reads one byte; false when the other end closed.
bool await(int fd) {
    char byte = 0;
    return ::read(fd, &byte, 1) == 1;
}

void notify(int fd) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
}

struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() { [[maybe_unused]] const int rc = ::pipe(fds); }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int readEnd() const { return fds[0]; }
    int writeEnd() const { return fds[1]; }
    void closeRead() {
        if (fds[0] >= 0) {
            ::close(fds[0]);
            fds[0] = -1;
        }
    }
    void closeWrite() {
        if (fds[1] >= 0) {
            ::close(fds[1]);
            fds[1] = -1;
        }
    }
};

TEST(RegistryStoreProcessConcurrencyTest, AnotherProcessSeesAndMakesWrites) {
    TempDir dir;
    Pipe toChild;
    Pipe toParent;
    const pid_t pid = ::fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        toChild.closeWrite();
        toParent.closeRead();
        if (!await(toChild.readEnd())) {
            ::_exit(10);
        }
        std::ostringstream diagnostics;
        RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
        if (store.readString(kUser, "FromParent", "V") != "parent") {
            ::_exit(11);
        }
        if (!store.writeString(kUser, "FromChild", "V", "child")) {
            ::_exit(12);
        }
        notify(toParent.writeEnd());
        // Still open while the parent reads; then gone without closing, like a crash.
        await(toChild.readEnd());
        ::_exit(diagnostics.str().empty() ? 0 : 13);
    }
    toChild.closeRead();
    toParent.closeWrite();

    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
    ASSERT_TRUE(store.writeString(kUser, "FromParent", "V", "parent"));
    notify(toChild.writeEnd());
    const bool childWrote = await(toParent.readEnd());
    const auto seen = store.readString(kUser, "FromChild", "V");
    toChild.closeWrite();
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(childWrote);
    EXPECT_EQ(seen, "child");
    EXPECT_EQ(diagnostics.str(), "");
}

constexpr int kSlots = 20;

// Text of the i-th write: its number at both ends around a body whose length varies from well
// below to above a page, so that some writes span overflow pages.
std::string payload(long i) {
    const std::string n = std::to_string(i);
    return "<" + n + ":" +
           std::string(static_cast<std::size_t>(100 + (i * 397) % 9000),
                       static_cast<char>('a' + i % 26)) +
           ":" + n + ">";
}

std::string integrityCheck(const fs::path& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

TEST(RegistryStoreProcessConcurrencyTest, KillDuringWritesLeavesAConsistentHive) {
    TempDir dir;
    Pipe started;
    const pid_t pid = ::fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        started.closeRead();
        std::ostringstream diagnostics;
        RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
        // Write i to its slot, then record i as the last one done: the slots and the counter
        // tell exactly which prefix of the writes made it.
        for (long i = 0; i < 10'000'000; ++i) {
            if (!store.writeString(kUser, "Crash", "Slot" + std::to_string(i % kSlots),
                                   payload(i)) ||
                !store.writeDword(kUser, "Crash", "Last", static_cast<std::uint32_t>(i))) {
                ::_exit(20);
            }
            if (i == 2 * kSlots) {
                notify(started.writeEnd());
            }
        }
        ::_exit(21);
    }
    started.closeWrite();
    ASSERT_TRUE(await(started.readEnd())) << "the writer stopped early";
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the writer was not killed in the middle of its writes";

    const fs::path hive = dir.path() / "HKEY_CURRENT_USER.hive";
    EXPECT_EQ(integrityCheck(hive), "ok");

    std::ostringstream diagnostics;
    RegistryStore store(HiveLocations::inDirectory(dir.path()), diagnostics);
    EXPECT_EQ(diagnostics.str(), "");
    const auto last = store.readDword(kUser, "Crash", "Last");
    ASSERT_TRUE(last.has_value());
    const long done = *last;
    ASSERT_GE(done, 2 * kSlots);
    for (long slot = 0; slot < kSlots; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        // The latest write to this slot up to `done`, or the one after `done` when it
        // committed but the counter did not.
        const long latest = done - ((done - slot) % kSlots + kSlots) % kSlots;
        const auto value = store.readString(kUser, "Crash", "Slot" + std::to_string(slot));
        ASSERT_TRUE(value.has_value());
        if ((done + 1) % kSlots == slot) {
            EXPECT_THAT(*value, testing::AnyOf(payload(latest), payload(done + 1)));
        } else {
            EXPECT_EQ(*value, payload(latest));
        }
    }
}

}  // namespace
}  // namespace rizorivu
