// The whole Qt front end on the simulated adapter: the runner builds the host, the views, the
// tray icon and the main window, publishes the window's caption while it runs, and returns
// when an exit request arrives on the status timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <memory>
#include <sstream>

#include "app/Startup.h"
#include "qt/QtMainWindowRunner.h"
#include "tests/support/SimulatedUtility.h"
#include "tests/support/TestWorlds.h"

namespace rizorivu::qt {
namespace {

class QtMainWindowRunnerTest : public ::testing::Test {
protected:
    static Configuration fastTicks() {
        Configuration configuration = testing::SimulatedUtility::simulatorConfiguration();
        // The exit request is read on the status timer: tick often.
        configuration.mainPageUpdateTimeMs = 20;
        return configuration;
    }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};

    testing::SimulatedUtility utility{testing::settingsWorld(), fastTicks()};
    Session& session = utility.session;
    CaptionRegistry captions{utility.bed.dir.path().string()};
};

TEST_F(QtMainWindowRunnerTest, RunsUntilAnExitRequestAndIsFindableMeanwhile) {
    const std::string caption = mainWindowCaption("Nimbo K-540 Utility");
    ASSERT_FALSE(captions.find(caption));
    bool foundWhileRunning = false;
    QTimer::singleShot(0, [&] {
        foundWhileRunning = captions.find(caption);
        session.settings.appKey.writeDword("", InstanceValues::kExit, 1);
    });

    std::ostringstream diagnostics;
    QtMainWindowRunner runner(captions, diagnostics);
    int findable = 0;
    EXPECT_EQ(runner.run(session, {"RIZorivu", "Open Utility Window", "Exit RIZorivu"},
                         [&findable] { ++findable; }),
              0);
    EXPECT_GE(findable, 1);
    EXPECT_TRUE(foundWhileRunning);
    EXPECT_FALSE(captions.find(caption));
    // The request was taken.
    EXPECT_EQ(session.settings.appKey.readDword("", InstanceValues::kExit), 0);
}

}  // namespace
}  // namespace rizorivu::qt
