#include "app/Startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "app/Session.h"
#include "platform/RegistryStore.h"
#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppKey = "Software\\Halvo\\rizorivu";
constexpr const char* kDefaultTitle = "Nimbo K-540 Utility";

// Virtual time that lets a test look at the registry while start-up pauses.
class ObservedClock final : public Clock {
public:
    std::int64_t nowMs() const override { return time_.nowMs(); }
    std::int64_t wallSeconds() const override { return time_.wallSeconds(); }
    void sleepMs(std::int64_t ms) override {
        sleeps.push_back(ms);
        if (onSleep) {
            onSleep();
        }
        time_.sleepMs(ms);
    }

    std::vector<std::int64_t> sleeps;
    std::function<void()> onSleep;

private:
    VirtualClock time_;
};

// What the main window would have found when it started.
struct RunSnapshot {
    std::optional<std::uint32_t> exitFlag;
    std::optional<std::uint32_t> wakeUpFlag;
    std::optional<std::string> storedTitle;
    std::string title;
    std::int32_t adapterHandle = 0;
    int updatePeriodMs = 0;
    StartupTexts texts;
    std::vector<std::string> damagedHives;
};

class RecordingRunner final : public MainWindowRunner {
public:
    int run(Session& session, const StartupTexts& trayTexts,
            const std::function<void()>& windowFindable) override {
        windowFindable();
        RunSnapshot snapshot;
        const ApplicationKey& key = session.settings.appKey;
        auto flag = [&](std::string_view name) -> std::optional<std::uint32_t> {
            return key.store().readDword(Hive::CurrentUser, key.path(), name);
        };
        snapshot.exitFlag = flag(InstanceValues::kExit);
        snapshot.wakeUpFlag = flag(InstanceValues::kWakeUp);
        snapshot.storedTitle = key.readString("", InstanceValues::kProgramTitle);
        snapshot.title = session.text.text("MP_Dialog_Title", kDefaultTitle);
        snapshot.adapterHandle = session.settings.adapter.handle;
        snapshot.updatePeriodMs = session.configuration.mainPageUpdateTimeMs;
        snapshot.texts = trayTexts;
        snapshot.damagedHives = session.damagedHives;
        runs.push_back(snapshot);
        return 7;
    }

    std::vector<RunSnapshot> runs;
};

constexpr std::string_view kTwoLanguages =
    "[LANGUAGES]\n"
    "Language_1_Section=English\n"
    "Language_2_Section=Deutsch\n"
    "[English]\n"
    "MP_Dialog_Title=Nimbo K-540 Utility\n"
    "MP_Small_Icon_Tip=Nimbo tray\n"
    "[Deutsch]\n"
    "MP_Dialog_Title=Nimbo K-540 Dienstprogramm\n"
    "MP_Small_Icon_Tip=Nimbo Symbol\n"
    "MP_Small_Icon_Item_1=Fenster zeigen\n"
    "MP_Small_Icon_Item_2=Beenden\n";

// A running window's side of the caption table: it takes the requests of later starts.
class RunningWindow {
public:
    std::optional<CaptionRegistry::Publication> publishOn(const CaptionRegistry& captions) {
        return captions.publish(std::string(kDefaultTitle) + "  ",
                                [this](CaptionRegistry::Request request) {
                                    const std::lock_guard lock(mutex_);
                                    requests_.push_back(request);
                                });
    }
    std::vector<CaptionRegistry::Request> requests() {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    std::mutex mutex_;
    std::vector<CaptionRegistry::Request> requests_;
};

using Request = CaptionRegistry::Request;

class StartupTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    FixedEnvironment env{{HiveLocations::kEnvironmentVariable, (dir / "reg").string()}};
    CaptionRegistry captions = CaptionRegistry::fromEnvironment(env);
    std::ostringstream diagnostics;
    std::ostringstream registryDiagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir / "reg"), registryDiagnostics};
    ObservedClock clock;
    RecordingRunner runner;
    std::string modulePath = (dir / "rizorivu").string();

    StartupResult start(std::vector<std::string> arguments = {}) {
        return runApplication(arguments, modulePath,
                              StartupPlatform{env, clock, captions, diagnostics}, runner);
    }

    std::optional<std::uint32_t> flag(std::string_view name) {
        return registry.readDword(Hive::CurrentUser, kAppKey, name);
    }
    std::optional<std::string> storedTitle() {
        return registry.readString(Hive::CurrentUser, kAppKey, InstanceValues::kProgramTitle);
    }
    void storeTitle(std::string_view title) {
        registry.writeString(Hive::CurrentUser, kAppKey, InstanceValues::kProgramTitle, title);
    }
    std::vector<std::string> appKeyValues() {
        std::vector<std::string> names = registry.valueNames(Hive::CurrentUser, kAppKey);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The exit request and stored title as they were during each pause.
    struct AtPause {
        std::optional<std::uint32_t> exitFlag;
        std::optional<std::string> storedTitle;
    };
    std::vector<AtPause> pauses;
    void watchPauses() {
        clock.onSleep = [this] { pauses.push_back({flag(InstanceValues::kExit), storedTitle()}); };
    }
};

TEST_F(StartupTest, FirstRunAsksAnyInstanceToCloseThenStoresTheTitleAndRuns) {
    watchPauses();
    const StartupResult result = start();

    EXPECT_EQ(result.outcome, StartupOutcome::Ran);
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_EQ(clock.sleeps, std::vector<std::int64_t>{2000});
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0].exitFlag, 1u);
    EXPECT_EQ(pauses[0].storedTitle, std::nullopt);

    ASSERT_EQ(runner.runs.size(), 1u);
    const RunSnapshot& run = runner.runs[0];
    EXPECT_EQ(run.exitFlag, 0u);
    EXPECT_EQ(run.wakeUpFlag, 0u);
    EXPECT_EQ(run.storedTitle, kDefaultTitle);
    EXPECT_EQ(run.adapterHandle, AdapterRecord::kNoAdapter);
    EXPECT_EQ(run.updatePeriodMs, 1000);
    EXPECT_EQ(run.texts.tooltip, "RIZorivu --- Wireless LAN Configuration Tool");
    EXPECT_EQ(run.texts.openText, "Open Utility Window");
    EXPECT_EQ(run.texts.exitText, "Exit RIZorivu");
}

TEST_F(StartupTest, ADamagedHiveMovedAsideIsHandedToTheWindows) {
    const fs::path hive = HiveLocations::inDirectory(dir / "damaged-reg").currentUser;
    fs::create_directories(hive.parent_path());
    std::ofstream(hive) << std::string(5000, 'x');
    env.set(std::string(HiveLocations::kEnvironmentVariable), hive.parent_path().string());

    start();

    ASSERT_EQ(runner.runs.size(), 1u);
    ASSERT_EQ(runner.runs[0].damagedHives.size(), 1u);
    EXPECT_TRUE(runner.runs[0].damagedHives[0].starts_with(hive.string() + ".damaged-"));
    EXPECT_TRUE(fs::exists(runner.runs[0].damagedHives[0]));
}

TEST_F(StartupTest, ExitSwitchWritesOnlyTheCloseRequest) {
    // A window is running under the stored title: the switch still neither wakes nor waits.
    RunningWindow running;
    auto window = running.publishOn(captions);
    ASSERT_TRUE(window);
    for (const char* argument : {"-exit", "/EXIT", "-Exit"}) {
        registry.deleteKey(Hive::CurrentUser, kAppKey);
        const StartupResult result = start({"unrelated", argument});
        EXPECT_EQ(result.outcome, StartupOutcome::ExitRequested) << argument;
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(appKeyValues(), std::vector<std::string>{"REZUreExit"}) << argument;
        EXPECT_EQ(flag(InstanceValues::kExit), 1u);
    }
    EXPECT_EQ(running.requests(), (std::vector<Request>(3, Request::Exit)))
        << "the request also went through the caption table";
    EXPECT_TRUE(runner.runs.empty());
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_TRUE(diagnostics.str().empty()) << diagnostics.str();
}

TEST_F(StartupTest, ExitSwitchSaysSoWhenNothingRuns) {
    // A window that takes no requests is no running instance of the utility.
    auto foreign = captions.publish(std::string(kDefaultTitle) + "  ");
    const StartupResult result = start({"-exit"});
    EXPECT_EQ(result.outcome, StartupOutcome::ExitRequested);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(diagnostics.str(), "rizorivu: no running instance to end\n");
    EXPECT_EQ(flag(InstanceValues::kExit), 1u) << "the request stays for the next start to clear";
}

// The registry folder is a file: each process has a hive of its own in memory, and only the
// caption table joins them.
TEST_F(StartupTest, WithTheHiveInMemoryRequestsStillReachTheRunningInstance) {
    const auto notAFolder = dir.write("reg-file", "");
    env.set(std::string(HiveLocations::kEnvironmentVariable), notAFolder.string());
    const CaptionRegistry table = CaptionRegistry::fromEnvironment(env);
    auto startOn = [&](std::vector<std::string> arguments) {
        return runApplication(arguments, modulePath,
                              StartupPlatform{env, clock, table, diagnostics}, runner);
    };

    EXPECT_EQ(startOn({"-exit"}).exitCode, 1) << "nothing runs yet";
    RunningWindow running;
    auto window = running.publishOn(table);
    ASSERT_TRUE(window);

    const StartupResult second = startOn({});
    EXPECT_EQ(second.outcome, StartupOutcome::WokeRunning);
    EXPECT_TRUE(runner.runs.empty()) << "no second running instance";
    EXPECT_TRUE(clock.sleeps.empty());
    const StartupResult exit = startOn({"-exit"});
    EXPECT_EQ(exit.outcome, StartupOutcome::ExitRequested);
    EXPECT_EQ(exit.exitCode, 0);
    EXPECT_EQ(running.requests(), (std::vector<Request>{Request::WakeUp, Request::Exit}));
}

TEST_F(StartupTest, RunningWindowUnderTheStoredTitleIsWokenAndTheStartEnds) {
    storeTitle(kDefaultTitle);
    RunningWindow running;
    auto window = running.publishOn(captions);
    ASSERT_TRUE(window);

    const StartupResult result = start();

    EXPECT_EQ(result.outcome, StartupOutcome::WokeRunning);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(flag(InstanceValues::kWakeUp), 1u);
    EXPECT_EQ(flag(InstanceValues::kExit), std::nullopt);
    EXPECT_EQ(running.requests(), std::vector<Request>{Request::WakeUp});
    EXPECT_TRUE(runner.runs.empty());
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(StartupTest, WindowWithAnyOtherCaptionIsAskedToCloseAndReplaced) {
    storeTitle(kDefaultTitle);
    watchPauses();
    for (const std::string& caption : {std::string(kDefaultTitle), std::string(kDefaultTitle) + " ",
                                       std::string("nimbo k-540 utility  ")}) {
        auto window = captions.publish(caption);
        ASSERT_TRUE(window);
        const StartupResult result = start();
        EXPECT_EQ(result.outcome, StartupOutcome::Ran) << '"' << caption << '"';
    }
    EXPECT_EQ(clock.sleeps, (std::vector<std::int64_t>{2000, 2000, 2000}));
    for (const AtPause& pause : pauses) {
        EXPECT_EQ(pause.exitFlag, 1u);
    }
    ASSERT_EQ(runner.runs.size(), 3u);
    EXPECT_EQ(runner.runs.back().exitFlag, 0u);
    EXPECT_EQ(runner.runs.back().wakeUpFlag, 0u);
}

TEST_F(StartupTest, ChangedTitleAsksTheOldInstanceToCloseAndTakesOver) {
    storeTitle("Old Title");
    // The old instance is running and would be found under its own caption.
    auto window = captions.publish("Old Title  ");
    ASSERT_TRUE(window);
    registry.writeDword(Hive::CurrentUser, kAppKey, InstanceValues::kWakeUp, 1);
    watchPauses();

    const StartupResult result = start();

    EXPECT_EQ(result.outcome, StartupOutcome::Ran);
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0].exitFlag, 1u);
    EXPECT_EQ(pauses[0].storedTitle, "Old Title");
    ASSERT_EQ(runner.runs.size(), 1u);
    EXPECT_EQ(runner.runs[0].storedTitle, kDefaultTitle);
    EXPECT_EQ(runner.runs[0].exitFlag, 0u);
    // A stale wake-up request is cleared too.
    EXPECT_EQ(runner.runs[0].wakeUpFlag, 0u);
}

TEST_F(StartupTest, StoredLanguageChoosesTitleAndTrayTextsAndOutOfRangeKeepsTheFirst) {
    dir.write("QVMLu.INI", kTwoLanguages);
    struct Case {
        std::optional<std::uint32_t> languageId;
        std::string title;
        std::string tooltip;
        std::string exitText;
    };
    const std::vector<Case> cases = {
        {std::nullopt, "Nimbo K-540 Utility", "Nimbo tray", "Exit RIZorivu"},
        {2, "Nimbo K-540 Dienstprogramm", "Nimbo Symbol", "Beenden"},
        {1, "Nimbo K-540 Utility", "Nimbo tray", "Exit RIZorivu"},
        {3, "Nimbo K-540 Utility", "Nimbo tray", "Exit RIZorivu"},
        {0, "Nimbo K-540 Utility", "Nimbo tray", "Exit RIZorivu"},
        {0xFFFFFFFFu, "Nimbo K-540 Utility", "Nimbo tray", "Exit RIZorivu"},
    };
    for (const Case& c : cases) {
        runner.runs.clear();
        registry.deleteKey(Hive::CurrentUser, kAppKey);
        if (c.languageId) {
            registry.writeDword(Hive::CurrentUser, kAppKey, InstanceValues::kLanguageId,
                                *c.languageId);
        }
        start();
        ASSERT_EQ(runner.runs.size(), 1u);
        const std::string label = c.languageId ? std::to_string(*c.languageId) : "absent";
        EXPECT_EQ(runner.runs[0].title, c.title) << label;
        EXPECT_EQ(runner.runs[0].storedTitle, c.title) << label;
        EXPECT_EQ(runner.runs[0].texts.tooltip, c.tooltip) << label;
        EXPECT_EQ(runner.runs[0].texts.exitText, c.exitText) << label;
    }
}

TEST_F(StartupTest, InstanceThatChangedItsLanguageIsWokenUnderItsNewCaption) {
    dir.write("QVMLu.INI", kTwoLanguages);
    // What the running instance left behind when the user chose German.
    registry.writeDword(Hive::CurrentUser, kAppKey, InstanceValues::kLanguageId, 2);
    storeTitle("Nimbo K-540 Dienstprogramm");
    auto window = captions.publish("Nimbo K-540 Dienstprogramm  ");
    ASSERT_TRUE(window);

    EXPECT_EQ(start().outcome, StartupOutcome::WokeRunning);
    EXPECT_EQ(flag(InstanceValues::kWakeUp), 1u);
}

TEST_F(StartupTest, LanguageFileListingNoLanguageGivesTheDefaultTitle) {
    dir.write("QVMLu.INI", "[LANGUAGES]\n[English]\nMP_Dialog_Title=Never shown\n");
    start();
    EXPECT_EQ(storedTitle(), kDefaultTitle);
}

TEST_F(StartupTest, ConfigurationBesideTheExecutableNamesTheKeyAndTheLanguageFile) {
    modulePath = (dir / "util.bin").string();
    dir.write("util.INI",
              "[MAIN_INFO]\nCompany_Abbrev=Acme\nML_Unicode_File=Wide.INI\n"
              "Main_Page_Update_Time_ms=250\n");
    dir.write("Wide.INI", "[LANGUAGES]\nLanguage_1_Section=Only\n[Only]\nMP_Dialog_Title=Wide\n");
    dir.write("QVMLu.INI", "[LANGUAGES]\nLanguage_1_Section=Only\n[Only]\nMP_Dialog_Title=Wrong\n");

    start();

    ASSERT_EQ(runner.runs.size(), 1u);
    EXPECT_EQ(runner.runs[0].updatePeriodMs, 250);
    EXPECT_EQ(registry.readString(Hive::CurrentUser, "Software\\Acme\\util",
                                  InstanceValues::kProgramTitle),
              "Wide");
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, kAppKey));
}

TEST_F(StartupTest, SystemOutsideTheNtFamilyReadsTheSingleByteLanguageFile) {
    env.set("RIZORIVU_WORLD", dir.write("world.ini", "[Machine]\nOsFamily=9x\n").string());
    dir.write("QVMLu.INI", "[LANGUAGES]\nLanguage_1_Section=U\n[U]\nMP_Dialog_Title=Wide\n");
    dir.write("QVMLa.INI", "[LANGUAGES]\nLanguage_1_Section=A\n[A]\nMP_Dialog_Title=Narrow\n");

    start();

    EXPECT_EQ(storedTitle(), "Narrow");
}

TEST_F(StartupTest, MalformedWorldStopsBeforeAnythingIsWritten) {
    const auto world = dir.write("broken-world.ini", "[NoSuchSection]\n");
    env.set("RIZORIVU_WORLD", world.string());

    const StartupResult result = start();

    EXPECT_EQ(result.outcome, StartupOutcome::Failed);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(diagnostics.str().find("broken-world.ini"), std::string::npos) << diagnostics.str();
    EXPECT_TRUE(runner.runs.empty());
    EXPECT_TRUE(appKeyValues().empty());
}

TEST_F(StartupTest, ExitRequestWorksEvenWhenTheWorldIsBroken) {
    // The user wants a running instance gone after breaking the world file it follows.
    env.set("RIZORIVU_WORLD", dir.write("broken-world.ini", "[NoSuchSection]\n").string());

    RunningWindow running;
    auto window = running.publishOn(captions);
    const StartupResult result = start({"-exit"});

    EXPECT_EQ(result.outcome, StartupOutcome::ExitRequested);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(registry.readDword(Hive::CurrentUser, kAppKey, InstanceValues::kExit), 1u);
    EXPECT_EQ(running.requests(), std::vector<Request>{Request::Exit});
    EXPECT_TRUE(runner.runs.empty());
}

TEST_F(StartupTest, UnreadableExecutablePathFails) {
    const StartupResult result = runApplication(
        {}, std::nullopt, StartupPlatform{env, clock, captions, diagnostics}, runner);
    EXPECT_EQ(result.outcome, StartupOutcome::Failed);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_FALSE(diagnostics.str().empty());
    EXPECT_TRUE(runner.runs.empty());
}

}  // namespace
}  // namespace rizorivu
