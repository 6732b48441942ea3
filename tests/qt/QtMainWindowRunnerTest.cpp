// The whole Qt front end on the simulated adapter: the runner builds the host, the views, the
// tray icon and the main window, publishes the window's caption while it runs, and returns
// when an exit request arrives on the status timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <memory>
#include <sstream>

#include "app/ApplicationContext.h"
#include "app/Startup.h"
#include "qt/DisplayCheck.h"
#include "qt/QtMainWindowRunner.h"
#include "sim/SimulatedAdapterFactory.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::qt {
namespace {

class QtMainWindowRunnerTest : public ::testing::Test {
protected:
    std::unique_ptr<AdapterLibrary> makeLibrary() {
        FixedEnvironment env{{"RIZORIVU_WORLD", worldFile.string()}};
        auto made = makeSimulatedAdapterLibrary(env, clock, registry, diagnostics);
        return std::move(made).value();
    }
    Configuration makeConfiguration() {
        Configuration configuration;
        configuration.matchingDeviceIds = {"USB\\VID_F540&PID_0540"};
        // The exit request is read on the status timer: tick often.
        configuration.mainPageUpdateTimeMs = 20;
        return configuration;
    }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};

    testing::TempDir dir;
    std::filesystem::path worldFile = dir.write("world.ini", testing::settingsWorld());
    VirtualClock clock{50'000};
    std::ostringstream diagnostics;
    RegistryStore registry{HiveLocations::inDirectory(dir.path()), diagnostics};
    std::unique_ptr<AdapterLibrary> library = makeLibrary();
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    NoWpaConnection wpa;
    ApplicationContext context{ApplicationPaths::fromModulePath((dir / "rizorivu").string()),
                               makeConfiguration(),
                               ansi,
                               profile,
                               registry,
                               *library,
                               clock,
                               wpa};
    CaptionRegistry captions{dir.path().string()};
};

TEST_F(QtMainWindowRunnerTest, RunsUntilAnExitRequestAndIsFindableMeanwhile) {
    const std::string caption = mainWindowCaption("Nimbo K-540 Utility");
    ASSERT_FALSE(captions.find(caption));
    bool foundWhileRunning = false;
    QTimer::singleShot(0, [&] {
        foundWhileRunning = captions.find(caption);
        context.settings.appKey.writeDword("", InstanceValues::kExit, 1);
    });

    QtMainWindowRunner runner(captions);
    int findable = 0;
    EXPECT_EQ(runner.run(context, {"RIZorivu", "Open Utility Window", "Exit RIZorivu"},
                         [&findable] { ++findable; }),
              0);
    EXPECT_GE(findable, 1);
    EXPECT_TRUE(foundWhileRunning);
    EXPECT_FALSE(captions.find(caption));
    // The request was taken.
    EXPECT_EQ(context.settings.appKey.readDword("", InstanceValues::kExit), 0);
}

struct DisplayCase {
    std::vector<std::pair<const std::string, std::string>> variables;
    std::vector<std::string> arguments;
    bool available;
};

TEST(DisplayCheck, AskedBeforeQtStarts) {
    const std::vector<DisplayCase> cases{
        {{}, {}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, {}, false},
        {{{"DISPLAY", ":0"}}, {}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, true},
        {{}, {"-platform", "offscreen"}, true},
        {{}, {"EXIT"}, false},
    };
    for (const DisplayCase& c : cases) {
        FixedEnvironment environment;
        for (const auto& [name, value] : c.variables) {
            environment.set(name, value);
        }
        EXPECT_EQ(displayAvailable(environment, c.arguments), c.available)
            << c.variables.size() << " variables, " << c.arguments.size() << " arguments";
    }
}

}  // namespace
}  // namespace rizorivu::qt
