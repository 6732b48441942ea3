// Start-up between real processes: copies of the instance probe (the real start-up with a
// headless main window) started side by side on one registry, meeting only through the
// registry values and the caption table as the utility's processes do.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/RegistryStore.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace rizorivu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppKey = "Software\\Halvo\\rizorivu";
// Bounds for waits on another process; generous, since a loaded machine may be slow. The
// instances poll every 100 ms and a start pauses 2 s.
constexpr std::chrono::seconds kPatience{15};

class StartupProcessConcurrencyTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    fs::path program = dir / "bin" / "rizorivu";
    fs::path log = dir / "events.log";
    fs::path registryDir = dir / "reg";  // where the programs keep their registry
    std::vector<pid_t> children;

    void SetUp() override {
        fs::create_directories(program.parent_path());
        fs::copy_file(RIZORIVU_INSTANCE_PROBE, program);
        fs::permissions(program, fs::perms::owner_all);
        std::ofstream(program.parent_path() / "rizorivu.INI")
            << "[MAIN_INFO]\nMain_Page_Update_Time_ms=100\n";
    }

    void TearDown() override {
        for (pid_t pid : children) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts a copy of the program with `arguments`, its registry and caption table in the
    // test's folder and the built-in world.
    pid_t start(std::vector<std::string> arguments = {}) {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("RIZORIVU_")) {
                environment.emplace_back(text);
            }
        }
        environment.push_back("RIZORIVU_REGISTRY_DIR=" + registryDir.string());
        environment.push_back("RIZORIVU_PROBE_LOG=" + log.string());
        arguments.insert(arguments.begin(), program.string());

        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        pid_t pid = -1;
        const int error =
            posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
        EXPECT_EQ(error, 0) << std::strerror(error);
        if (error == 0) {
            children.push_back(pid);
        }
        return pid;
    }

    // The exit status of `pid` once it has ended, or nothing when it is still running after
    // the wait.
    std::optional<int> waitForEnd(pid_t pid, std::chrono::milliseconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            int status = 0;
            const pid_t ended = waitpid(pid, &status, WNOHANG);
            if (ended == pid) {
                std::erase(children, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    bool stillRunning(pid_t pid) { return !waitForEnd(pid, std::chrono::milliseconds(0)); }

    // The events logged by `pid`, in order.
    std::vector<std::string> events(pid_t pid) {
        std::vector<std::string> found;
        std::ifstream in(log);
        const std::string prefix = std::to_string(pid) + " ";
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with(prefix)) {
                found.push_back(line.substr(prefix.size()));
            }
        }
        return found;
    }

    std::vector<std::string> allLines() {
        std::vector<std::string> lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    bool hasLogged(pid_t pid, const std::string& event) {
        const std::vector<std::string> logged = events(pid);
        return std::find(logged.begin(), logged.end(), event) != logged.end();
    }

    bool waitForEvent(pid_t pid, const std::string& event) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (hasLogged(pid, event)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Starts an instance and waits until it runs under `title`.
    pid_t startRunning(const std::string& title = "Nimbo K-540 Utility") {
        const pid_t pid = start();
        EXPECT_TRUE(waitForEvent(pid, "running " + title)) << "log:\n" << logText();
        return pid;
    }

    // Ends a running instance the way a user would: with the exit switch.
    void closeWithExitSwitch(pid_t running) {
        const pid_t request = start({"-exit"});
        EXPECT_EQ(waitForEnd(request), 0);
        EXPECT_EQ(waitForEnd(running), 0) << "log:\n" << logText();
    }

    std::string logText() {
        std::ostringstream text;
        for (const std::string& line : allLines()) {
            text << line << '\n';
        }
        return text.str();
    }

    std::optional<std::string> storedTitle() {
        std::ostringstream sink;
        RegistryStore registry(HiveLocations::inDirectory(dir / "reg"), sink);
        return registry.readString(Hive::CurrentUser, kAppKey, "RIZorivuProgramTitle");
    }
};

TEST_F(StartupProcessConcurrencyTest, SecondStartWakesTheRunningInstanceAndEnds) {
    const pid_t running = startRunning();

    const pid_t second = start();
    EXPECT_EQ(waitForEnd(second), 0);
    EXPECT_EQ(events(second), std::vector<std::string>{"end woke-running"});
    EXPECT_TRUE(waitForEvent(running, "woken")) << logText();
    EXPECT_TRUE(stillRunning(running));

    closeWithExitSwitch(running);
    EXPECT_EQ(events(running), (std::vector<std::string>{"running Nimbo K-540 Utility", "woken",
                                                         "exit", "end ran"}));
}

// The registry folder is a file, so every process keeps its hive in memory: only the caption
// table joins them, and the requests still arrive.
TEST_F(StartupProcessConcurrencyTest, WithTheRegistryUnwritableOneInstanceRunsAndTakesRequests) {
    registryDir = dir / "reg-is-a-file";
    std::ofstream(registryDir) << "";
    const pid_t nothing = start({"-exit"});
    EXPECT_EQ(waitForEnd(nothing), 1) << "the exit switch says that nothing runs";

    const pid_t running = startRunning();
    const pid_t second = start();
    EXPECT_EQ(waitForEnd(second), 0);
    EXPECT_EQ(events(second), std::vector<std::string>{"end woke-running"}) << logText();
    EXPECT_TRUE(waitForEvent(running, "woken")) << logText();

    closeWithExitSwitch(running);
    EXPECT_EQ(events(running), (std::vector<std::string>{"running Nimbo K-540 Utility", "woken",
                                                         "exit", "end ran"}));
}

TEST_F(StartupProcessConcurrencyTest, ExitSwitchInAnyLetterCaseClosesTheRunningInstance) {
    for (const char* spelling : {"-exit", "/EXIT", "-Exit"}) {
        const pid_t running = startRunning();
        const pid_t request = start({spelling});
        EXPECT_EQ(waitForEnd(request), 0) << spelling;
        EXPECT_EQ(events(request), std::vector<std::string>{"end exit-requested"}) << spelling;
        EXPECT_EQ(waitForEnd(running), 0) << spelling << "\n" << logText();
        EXPECT_TRUE(hasLogged(running, "exit")) << spelling;
    }
}

TEST_F(StartupProcessConcurrencyTest, ChangedTitleClosesTheOldInstanceAndTheNewOneTakesOver) {
    const pid_t old = startRunning();
    // A new language file with another title is put beside the executable.
    std::ofstream(program.parent_path() / "QVMLu.INI")
        << "[LANGUAGES]\nLanguage_1_Section=Neu\n[Neu]\nMP_Dialog_Title=Neues Programm\n";

    const pid_t successor = start();
    EXPECT_EQ(waitForEnd(old), 0) << logText();
    EXPECT_TRUE(waitForEvent(successor, "running Neues Programm")) << logText();
    EXPECT_EQ(storedTitle(), "Neues Programm");

    // The old instance had gone before the new one ran.
    const std::vector<std::string> lines = allLines();
    const auto oldEnd = std::find(lines.begin(), lines.end(), std::to_string(old) + " exit");
    const auto newRun = std::find(lines.begin(), lines.end(),
                                  std::to_string(successor) + " running Neues Programm");
    EXPECT_LT(oldEnd, newRun) << logText();

    // The new instance is found under its new caption.
    const pid_t third = start();
    EXPECT_EQ(waitForEnd(third), 0);
    EXPECT_TRUE(waitForEvent(successor, "woken")) << logText();
    closeWithExitSwitch(successor);
}

// Two starts at once while an instance runs: both find its window, both ask it to show and
// end, so exactly one instance remains. The wake-up value is a flag, not a count: when both
// requests land between two of its ticks the running instance sees a single request.
// (With no instance running, two simultaneous starts both find no window, both pause and both
// run: the hand-over has no lock, only the registry values and timing.)
TEST_F(StartupProcessConcurrencyTest, TwoStartsAtOnceLeaveTheOneRunningInstance) {
    const pid_t running = startRunning();

    const pid_t first = start();
    const pid_t second = start();
    EXPECT_EQ(waitForEnd(first), 0);
    EXPECT_EQ(waitForEnd(second), 0);
    EXPECT_EQ(events(first), std::vector<std::string>{"end woke-running"});
    EXPECT_EQ(events(second), std::vector<std::string>{"end woke-running"});
    EXPECT_TRUE(waitForEvent(running, "woken")) << logText();
    EXPECT_TRUE(stillRunning(running));

    closeWithExitSwitch(running);
}

TEST_F(StartupProcessConcurrencyTest, TwoFirstStartsAtOnceLeaveExactlyOneRunningInstance) {
    // Nothing runs yet: one start becomes the running instance, the other finds its window
    // and wakes it instead of running beside it.
    const pid_t first = start();
    const pid_t second = start();
    const auto ranOrWoke = [&](pid_t pid) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (hasLogged(pid, "running Nimbo K-540 Utility")) {
                return std::string("ran");
            }
            if (hasLogged(pid, "end woke-running")) {
                return std::string("woke");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::string("neither");
    };
    const std::string a = ranOrWoke(first);
    const std::string b = ranOrWoke(second);
    ASSERT_TRUE((a == "ran" && b == "woke") || (a == "woke" && b == "ran"))
        << a << " / " << b << "\nlog:\n"
        << logText();
    const pid_t running = a == "ran" ? first : second;
    EXPECT_TRUE(waitForEvent(running, "woken")) << logText();
    closeWithExitSwitch(running);
}

TEST_F(StartupProcessConcurrencyTest, KilledInstanceIsNeverFoundAndTheNextStartRuns) {
    const pid_t killed = startRunning();
    kill(killed, SIGKILL);
    EXPECT_EQ(waitForEnd(killed), 128 + SIGKILL);

    // Its caption vanished with it: the next start does not try to wake it but runs itself.
    const pid_t next = startRunning();
    EXPECT_FALSE(hasLogged(next, "end woke-running"));
    closeWithExitSwitch(next);
}

}  // namespace
}  // namespace rizorivu
