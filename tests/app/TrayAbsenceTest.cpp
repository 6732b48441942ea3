#include "app/TrayAbsence.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim/DefaultWorld.h"
#include "tests/support/SimulatedUtility.h"
#include "ui/main/MainWindow.h"

namespace rizorivu {
namespace {

TEST(TrayAbsenceTest, WithoutNotificationAreaTheWindowOpensAtStartAndTheUserIsToldOnce) {
    struct Case {
        const char* name;
        bool notificationArea;
        bool opened;
    };
    for (const Case& c :
         {Case{"a desktop with a tray", true, false}, Case{"a desktop without one", false, true}}) {
        SCOPED_TRACE(c.name);
        testing::SimulatedUtility u{std::string(sim::defaultWorldText())};
        u.tray.hasNotificationArea = c.notificationArea;
        u.open();
        std::ostringstream diagnostics;
        EXPECT_EQ(TrayAbsence::openWindowWithoutTray(u.tray, u.host, diagnostics), c.opened);
        u.run([&](ui::MainWindow&) {
            u.host.deliverPosted();
            // Later poll ticks must not hide it again.
            for (int tick = 0; tick < 3; ++tick) {
                u.bed.clock.advance(1000);
                ASSERT_TRUE(u.tick());
            }
            EXPECT_EQ(u.windowState().visible, c.opened);
            EXPECT_EQ(u.tray.shown, c.notificationArea);
        });
        const std::string told = diagnostics.str();
        EXPECT_EQ(told, c.opened ? std::string(TrayAbsence::kMessage) + "\n" : "");
    }
}

}  // namespace
}  // namespace rizorivu
