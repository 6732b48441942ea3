#include "ui/CTrayIcon.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/RecordingTrayService.h"

namespace rizorivu {
namespace {

using testing::RecordingTrayService;
using Mouse = TrayService::MouseEvent;

constexpr int kAppIcon = 0;
constexpr int kNotConnectedIcon = 2;
constexpr int kAccessPointIcon = 3;
constexpr const char* kTip = "RIZorivu --- Wireless LAN Configuration Tool";

// What the main window saw of the tray icon, in order: "raise" or "post <command>".
struct MainWindowSide {
    std::vector<std::string> events;

    CTrayIcon::MainWindowLink link() {
        return {[this](int command) { events.push_back("post " + std::to_string(command)); },
                [this] { events.push_back("raise"); }};
    }
};

class CTrayIconTest : public ::testing::Test {
protected:
    std::unique_ptr<CTrayIcon> makeIcon(int defaultItem = CTrayIcon::kOpenUtilityWindow,
                                        bool byPosition = false) {
        return std::make_unique<CTrayIcon>(tray, kTip, kAppIcon, defaultItem, byPosition,
                                           mainWindow.link());
    }

    RecordingTrayService tray;
    MainWindowSide mainWindow;
};

const std::string kPostOpen = "post " + std::to_string(CTrayIcon::kOpenUtilityWindow);
const std::string kPostExit = "post " + std::to_string(CTrayIcon::kExit);

TEST_F(CTrayIconTest, StartsShownWithTheApplicationIconAndTooltip) {
    auto icon = makeIcon();
    EXPECT_TRUE(icon->enabled());
    EXPECT_TRUE(tray.shown);
    EXPECT_EQ(tray.shownIcon, kAppIcon);
    EXPECT_EQ(tray.shownTooltip, kTip);
    EXPECT_TRUE(tray.hasMouseHandler());
}

TEST_F(CTrayIconTest, DoubleClickOpensTheWindowOnceOnTheFollowingRelease) {
    auto icon = makeIcon();
    tray.mouse(Mouse::LeftDoubleClick);
    EXPECT_TRUE(mainWindow.events.empty()) << "nothing happens before the button is released";

    tray.mouse(Mouse::LeftRelease);
    EXPECT_EQ(mainWindow.events, (std::vector<std::string>{"raise", kPostOpen}));

    tray.mouse(Mouse::LeftRelease);
    EXPECT_EQ(mainWindow.events.size(), 2u) << "a later release is an ordinary click";
}

TEST_F(CTrayIconTest, ClicksAndOtherEventsDoNothing) {
    auto icon = makeIcon();
    for (Mouse event : {Mouse::LeftRelease, Mouse::Other, Mouse::LeftRelease}) {
        tray.mouse(event);
    }
    EXPECT_TRUE(mainWindow.events.empty());
    EXPECT_TRUE(tray.menus.empty());
}

TEST_F(CTrayIconTest, DefaultItemByPositionOpensWhatThatPositionHolds) {
    struct Case {
        int item;
        bool byPosition;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {CTrayIcon::kOpenUtilityWindow, false, {"raise", kPostOpen}},
        {CTrayIcon::kExit, false, {"raise", kPostExit}},
        {1, true, {"raise", kPostExit}},
        {0, true, {"raise", kPostOpen}},
        {7, true, {"raise"}},  // no item at that position: nothing is posted
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.item) + (c.byPosition ? " by position" : " by command"));
        mainWindow.events.clear();
        auto icon = makeIcon(c.item, c.byPosition);
        tray.doubleClick();
        EXPECT_EQ(mainWindow.events, c.expected);
    }
}

TEST_F(CTrayIconTest, SettingTheRecordedDefaultAgainAnswersTrueAtOnce) {
    auto icon = makeIcon();
    EXPECT_TRUE(icon->setDefaultItem(CTrayIcon::kOpenUtilityWindow, false));
    EXPECT_TRUE(icon->setDefaultItem(CTrayIcon::kExit, false));
    tray.doubleClick();
    EXPECT_EQ(mainWindow.events, (std::vector<std::string>{"raise", kPostExit}));
}

TEST_F(CTrayIconTest, RightClickMenuShowsTheTextsOfTheLatestLanguage) {
    auto icon = makeIcon();
    tray.menuChoice = CTrayIcon::kExit;
    tray.mouse(Mouse::RightRelease);
    icon->setMenuTexts("Hilfsprogramm öffnen", "RIZorivu beenden");
    tray.mouse(Mouse::RightRelease);

    ASSERT_EQ(tray.menus.size(), 2u);
    EXPECT_EQ(tray.menus[0].openText, "Open Utility Window");
    EXPECT_EQ(tray.menus[0].exitText, "Exit RIZorivu");
    const RecordingTrayService::Menu& german = tray.menus[1];
    EXPECT_EQ(german.openText, "Hilfsprogramm öffnen");
    EXPECT_EQ(german.exitText, "RIZorivu beenden");
    EXPECT_EQ(german.openCommand, CTrayIcon::kOpenUtilityWindow);
    EXPECT_EQ(german.exitCommand, CTrayIcon::kExit);
    EXPECT_EQ(german.defaultCommand, CTrayIcon::kOpenUtilityWindow);
    EXPECT_EQ(mainWindow.events,
              (std::vector<std::string>{"raise", kPostExit, "raise", kPostExit}));
}

// A StatusNotifierItem host shows the menu it was given and reports one activation, never a
// double-click: both reach the main window as the XEmbed area's menu and double-click do.
TEST_F(CTrayIconTest, AreaThatCannotDoubleClickOpensOnActivationAndShowsItsOwnMenu) {
    auto icon = makeIcon();
    tray.mouse(Mouse::Activate);
    EXPECT_EQ(mainWindow.events, (std::vector<std::string>{"raise", kPostOpen}));

    EXPECT_TRUE(tray.hasMenuHandler());
    EXPECT_EQ(tray.standingMenu.openText, "Open Utility Window");
    icon->setMenuTexts("Hilfsprogramm öffnen", "RIZorivu beenden");
    icon->setDefaultItem(1, true);
    EXPECT_EQ(tray.standingMenu.openText, "Hilfsprogramm öffnen");
    EXPECT_EQ(tray.standingMenu.exitText, "RIZorivu beenden");
    EXPECT_EQ(tray.standingMenu.openCommand, CTrayIcon::kOpenUtilityWindow);
    EXPECT_EQ(tray.standingMenu.exitCommand, CTrayIcon::kExit);
    EXPECT_EQ(tray.standingMenu.defaultCommand, CTrayIcon::kExit) << "position 1 holds Exit";

    mainWindow.events.clear();
    tray.chooseFromStandingMenu(CTrayIcon::kExit);
    tray.chooseFromStandingMenu(12345);  // no item of ours
    EXPECT_EQ(mainWindow.events, (std::vector<std::string>{"raise", kPostExit}));
    EXPECT_TRUE(tray.menus.empty()) << "the area showed the menu, nothing popped up";

    icon.reset();
    EXPECT_FALSE(tray.hasMenuHandler());
}

TEST_F(CTrayIconTest, MenuDismissedWithoutChoicePostsNothing) {
    auto icon = makeIcon();
    tray.menuChoice = 0;
    tray.mouse(Mouse::RightRelease);
    EXPECT_EQ(tray.menus.size(), 1u);
    EXPECT_EQ(mainWindow.events, (std::vector<std::string>{"raise"}));
}

TEST_F(CTrayIconTest, TooltipIsCutTo63Characters) {
    const std::string longTip(80, 'x');
    auto icon = std::make_unique<CTrayIcon>(tray, longTip, kAppIcon, CTrayIcon::kOpenUtilityWindow,
                                            false, mainWindow.link());
    EXPECT_EQ(tray.shownTooltip, std::string(63, 'x'));

    EXPECT_TRUE(icon->setTooltip(std::string(63, 'a') + "bcd"));
    EXPECT_EQ(tray.shownTooltip, std::string(63, 'a'));
    EXPECT_TRUE(icon->setTooltip("short"));
    EXPECT_EQ(tray.shownTooltip, "short");

    // Characters, not bytes: a German or Japanese title keeps 63 whole characters.
    std::string umlauts;
    std::string japanese;
    for (int i = 0; i < 70; ++i) {
        umlauts += "\u00fc";   // two bytes each
        japanese += "\u7121";  // three bytes each
    }
    EXPECT_TRUE(icon->setTooltip(umlauts));
    EXPECT_EQ(tray.shownTooltip, umlauts.substr(0, 63 * 2));
    EXPECT_TRUE(icon->setTooltip("x" + japanese));
    EXPECT_EQ(tray.shownTooltip, "x" + japanese.substr(0, 62 * 3));
}

TEST_F(CTrayIconTest, RemovedIconComesBackWithThePictureSetMeanwhile) {
    auto icon = makeIcon();
    EXPECT_TRUE(icon->removeIcon());
    EXPECT_FALSE(tray.shown);
    EXPECT_TRUE(icon->setIcon(kNotConnectedIcon));
    EXPECT_TRUE(icon->addIcon(kAccessPointIcon));
    EXPECT_TRUE(tray.shown);
    EXPECT_EQ(tray.shownIcon, kAccessPointIcon);
    EXPECT_EQ(tray.shownTooltip, kTip);
}

TEST_F(CTrayIconTest, DestructionRemovesOnlyAShownIcon) {
    { auto icon = makeIcon(); }
    EXPECT_FALSE(tray.shown);
    EXPECT_EQ(tray.removes, 1);
    EXPECT_FALSE(tray.hasMouseHandler());

    RecordingTrayService other;
    {
        CTrayIcon icon(other, kTip, kAppIcon, CTrayIcon::kOpenUtilityWindow, false,
                       mainWindow.link());
        icon.removeIcon();
    }
    EXPECT_EQ(other.removes, 1) << "the icon removed by hand is not removed again";
}

TEST_F(CTrayIconTest, WithoutNotificationAreaTheUtilityRunsWithoutIcon) {
    struct Case {
        const char* name;
        bool hasArea;
        bool accepts;
    };
    for (const Case& c :
         {Case{"no notification area", false, true}, Case{"icon refused", true, false}}) {
        SCOPED_TRACE(c.name);
        RecordingTrayService area;
        area.hasNotificationArea = c.hasArea;
        area.acceptsIcon = c.accepts;
        area.menuChoice = CTrayIcon::kExit;
        MainWindowSide side;
        {
            CTrayIcon icon(area, kTip, kAppIcon, CTrayIcon::kOpenUtilityWindow, false, side.link());
            EXPECT_FALSE(icon.enabled());
            EXPECT_FALSE(icon.addIcon(kNotConnectedIcon));
            EXPECT_FALSE(icon.setIcon(kAccessPointIcon));
            EXPECT_FALSE(icon.setTooltip("tip"));
            EXPECT_FALSE(icon.removeIcon());
            EXPECT_FALSE(icon.setDefaultItem(CTrayIcon::kExit, false));
            icon.onMouseEvent(Mouse::LeftDoubleClick);
            icon.onMouseEvent(Mouse::LeftRelease);
            icon.onMouseEvent(Mouse::RightRelease);
            area.doubleClick();
        }
        EXPECT_FALSE(area.shown);
        EXPECT_TRUE(area.iconHistory.empty());
        EXPECT_TRUE(area.menus.empty());
        EXPECT_TRUE(side.events.empty());
        EXPECT_EQ(area.removes, 0);
    }
}

}  // namespace
}  // namespace rizorivu
