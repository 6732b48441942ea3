#include "tests/support/HeadlessHost.h"

#include <gtest/gtest.h>

#include "tests/ui/ProbeDialog.h"

namespace rizorivu::testing {
namespace {

using ui::DialogCode;
using ui::DialogResult;
using ui::MessageAnswer;
using ui::MessageButtons;
using ui::MessageIcon;

constexpr int kOpenUtilityWindow = 32771;
constexpr int kExit = 32773;

using Errors = std::vector<std::string>;

class HeadlessHostTest : public ::testing::Test {
protected:
    DialogBed bed;
    HeadlessHost& host = bed.host;
    ProbeDialog main{DialogCode::Main, bed.environment};
    ProbeDialog general{DialogCode::GeneralSettings, bed.environment};
    ProbeDialog advanced{DialogCode::AdvancedSettings, bed.environment};

    static std::vector<int> codesOf(const std::vector<HeadlessHost::Ending>& endings) {
        std::vector<int> codes;
        for (const auto& e : endings) {
            codes.push_back(ui::toInt(e.code));
        }
        return codes;
    }
};

TEST_F(HeadlessHostTest, MessageBoxesAnswerInScriptOrderAndAreRecorded) {
    host.answer(MessageAnswer::No);
    host.answer(MessageAnswer::Yes);
    const ui::MessageBox question{"Use the previous setting?", "Use Previous WPA Setting",
                                  MessageButtons::YesNo, MessageIcon::Question};
    const ui::MessageBox notice{"Can't found the specified profile: \"x\".", "Profile",
                                MessageButtons::Ok, MessageIcon::Exclamation};

    EXPECT_EQ(general.ask(question), MessageAnswer::No);
    EXPECT_EQ(main.ask(question), MessageAnswer::Yes);
    EXPECT_FALSE(host.unscriptedMessageAsked());
    EXPECT_EQ(general.ask(notice), MessageAnswer::Ok);
    EXPECT_TRUE(host.unscriptedMessageAsked());

    const auto& asked = host.messages();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].owner, DialogCode::GeneralSettings);
    EXPECT_EQ(asked[0].box.caption, "Use Previous WPA Setting");
    EXPECT_EQ(asked[0].box.text, "Use the previous setting?");
    EXPECT_EQ(asked[0].box.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked[0].box.icon, MessageIcon::Question);
    EXPECT_TRUE(asked[0].scripted);
    EXPECT_EQ(asked[1].owner, DialogCode::Main);
    EXPECT_EQ(asked[2].box.caption, "Profile");
    EXPECT_EQ(asked[2].box.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(asked[2].scripted);
    EXPECT_EQ(host.errors(), Errors{});
}

struct UnscriptedCase {
    MessageAnswer configured;
    MessageButtons buttons;
    MessageAnswer answered;
};

void PrintTo(const UnscriptedCase& c, std::ostream* os) {
    *os << "configured " << static_cast<int>(c.configured) << ", buttons "
        << static_cast<int>(c.buttons);
}

class HeadlessHostUnscripted : public ::testing::TestWithParam<UnscriptedCase> {};

// An answer the box cannot give becomes its first button, as Enter would choose.
TEST_P(HeadlessHostUnscripted, BoxesGetTheConfiguredAnswerIfTheyOfferIt) {
    const UnscriptedCase& c = GetParam();
    DialogBed bed;
    ProbeDialog main(DialogCode::Main, bed.environment);
    bed.host.setUnscriptedAnswer(c.configured);
    EXPECT_EQ(main.ask({"text", "caption", c.buttons, MessageIcon::None}), c.answered);
    EXPECT_EQ(bed.host.errors(), Errors{});
}

INSTANTIATE_TEST_SUITE_P(
    Ui, HeadlessHostUnscripted,
    ::testing::Values(UnscriptedCase{MessageAnswer::Ok, MessageButtons::Ok, MessageAnswer::Ok},
                      UnscriptedCase{MessageAnswer::Ok, MessageButtons::YesNo, MessageAnswer::Yes},
                      UnscriptedCase{MessageAnswer::No, MessageButtons::YesNo, MessageAnswer::No},
                      UnscriptedCase{MessageAnswer::Yes, MessageButtons::Ok, MessageAnswer::Ok}));

TEST_F(HeadlessHostTest, AScriptedAnswerTheBoxDoesNotOfferIsAnError) {
    host.answer(MessageAnswer::No);
    EXPECT_EQ(main.ask({"Wireless Network Adapter Change Mode Fail!!!", "", MessageButtons::Ok,
                        MessageIcon::None}),
              MessageAnswer::Ok);
    EXPECT_EQ(host.errors().size(), 1u);
}

TEST_F(HeadlessHostTest, NestedRunsFollowTheirScripts) {
    std::vector<DialogCode> runningInside;
    DialogResult generalGot = DialogResult::Closed;
    host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost&) {
        generalGot = main.openChild(general);
        main.end(DialogResult::Cancel);
    });
    host.script<ProbeDialog>(DialogCode::GeneralSettings, [&](ProbeDialog& d, HeadlessHost&) {
        EXPECT_EQ(d.openChild(advanced), DialogResult::Ok);
        d.end(DialogResult::Ok);
    });
    host.script(DialogCode::AdvancedSettings, [&](ui::Dialog& d, HeadlessHost& h) {
        runningInside = h.running();
        d.end(DialogResult::Ok);
    });

    EXPECT_EQ(host.runModal(main), DialogResult::Cancel);

    EXPECT_EQ(generalGot, DialogResult::Ok);
    EXPECT_EQ(runningInside, (std::vector<DialogCode>{DialogCode::Main, DialogCode::GeneralSettings,
                                                      DialogCode::AdvancedSettings}));
    EXPECT_TRUE(host.running().empty());
    ASSERT_EQ(host.runs().size(), 3u);
    EXPECT_EQ(host.runs()[1].code, DialogCode::GeneralSettings);
    EXPECT_EQ(host.runs()[1].parent, DialogCode::Main);
    EXPECT_EQ(host.runs()[2].parent, DialogCode::GeneralSettings);
    EXPECT_EQ(codesOf(host.endings()), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(host.errors(), Errors{});
}

TEST_F(HeadlessHostTest, ScriptsAreUsedOncePerRunInQueueOrder) {
    host.script(DialogCode::Information, HeadlessHost::endWith(DialogResult::Ok));
    host.script(DialogCode::Information, HeadlessHost::endWith(DialogResult::Cancel));
    ProbeDialog info(DialogCode::Information, bed.environment);
    EXPECT_EQ(host.pendingScripts(DialogCode::Information), 2u);
    EXPECT_EQ(host.runModal(info), DialogResult::Ok);
    EXPECT_EQ(host.runModal(info), DialogResult::Cancel);
    EXPECT_EQ(host.pendingScripts(DialogCode::Information), 0u);
    EXPECT_EQ(host.errors(), Errors{});
}

TEST_F(HeadlessHostTest, ADialogNoScriptEndsIsCancelledWithAnError) {
    host.script(DialogCode::GeneralSettings, [](ui::Dialog&, HeadlessHost&) {});
    EXPECT_EQ(host.runModal(general), DialogResult::Cancel);
    EXPECT_EQ(host.errors().size(), 1u);
    // And one with no script at all.
    EXPECT_EQ(host.runModal(advanced), DialogResult::Cancel);
    EXPECT_EQ(host.errors().size(), 2u);
    EXPECT_TRUE(host.running().empty());
}

TEST_F(HeadlessHostTest, AScriptForAnotherDialogTypeIsAnError) {
    struct OtherDialog : ui::Dialog {
        using ui::Dialog::Dialog;
        void recaption() override {}
    };
    bool ran = false;
    host.script<OtherDialog>(DialogCode::GeneralSettings,
                             [&](OtherDialog&, HeadlessHost&) { ran = true; });
    host.runModal(general);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(host.errors().empty());
}

// The window system keeps the main window's timer running while a modal child is open.
TEST_F(HeadlessHostTest, TimersTickWhileAChildRuns) {
    std::vector<std::vector<DialogCode>> runningAtTick;
    main.initialiseAction = [&] { main.startTimer(1, 1000); };
    main.timerAction = [&](int) { runningAtTick.push_back(host.running()); };
    host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost& h) {
        EXPECT_TRUE(h.tick(1));
        main.openChild(general);
        main.killTimer(1);
        EXPECT_FALSE(h.tick(1));
        main.end(DialogResult::Cancel);
    });
    host.script(DialogCode::GeneralSettings, [&](ui::Dialog& d, HeadlessHost& h) {
        EXPECT_TRUE(h.tick(1));
        EXPECT_TRUE(h.tick(1));
        d.end(DialogResult::Cancel);
    });

    host.runModal(main);

    const std::vector<DialogCode> mainOnly{DialogCode::Main};
    const std::vector<DialogCode> withChild{DialogCode::Main, DialogCode::GeneralSettings};
    EXPECT_EQ(runningAtTick,
              (std::vector<std::vector<DialogCode>>{mainOnly, withChild, withChild}));
    EXPECT_EQ(main.ticks, (std::vector<int>{1, 1, 1}));
    const auto* timer = host.timer(1);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->ownerCode, DialogCode::Main);
    EXPECT_EQ(timer->periodMs, 1000);
    EXPECT_FALSE(timer->running);
    ASSERT_EQ(host.timerEvents().size(), 2u);
    EXPECT_TRUE(host.timerEvents()[0].started);
    EXPECT_FALSE(host.timerEvents()[1].started);
}

TEST_F(HeadlessHostTest, RestartingATimerKeepsOneTimerWithTheNewPeriod) {
    main.initialise();
    main.startTimer(1, 1000);
    main.killTimer(1);
    main.startTimer(1, 250);
    ASSERT_NE(host.timer(1), nullptr);
    EXPECT_EQ(host.timer(1)->periodMs, 250);
    EXPECT_TRUE(host.timer(1)->running);
    EXPECT_TRUE(host.tick(1));
    EXPECT_EQ(main.ticks.size(), 1u);
    EXPECT_FALSE(host.tick(2));
}

TEST_F(HeadlessHostTest, ADialogsTimersDieWithItsRun) {
    host.script(DialogCode::GeneralSettings, [&](ui::Dialog& d, HeadlessHost&) {
        general.startTimer(1, 500);
        d.end(DialogResult::Cancel);
    });
    host.runModal(general);
    EXPECT_FALSE(host.tick(1));
    EXPECT_TRUE(general.ticks.empty());
}

// The adapter is taken over while the advanced settings are open above the general settings:
// the main window's tick closes both and hides the main window, which keeps running.
TEST_F(HeadlessHostTest, ATickCanCloseTheDialogsAboveTheMainWindow) {
    main.initialiseAction = [&] { main.startTimer(1, 1000); };
    main.timerAction = [&](int) {
        bed.chain.closeAll(host, ui::OpenDialogChain::AtMainWindow::Hide);
    };
    DialogResult generalGot = DialogResult::Ok;
    DialogResult advancedGot = DialogResult::Ok;
    bool stillRunningAfterward = false;
    host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost& h) {
        generalGot = main.openChild(general);
        stillRunningAfterward = !main.ended() && !h.mainWindowState().visible;
        main.end(DialogResult::Cancel);
    });
    host.script(DialogCode::GeneralSettings,
                [&](ui::Dialog&, HeadlessHost&) { advancedGot = general.openChild(advanced); });
    host.script(DialogCode::AdvancedSettings, [&](ui::Dialog&, HeadlessHost& h) { h.tick(1); });

    host.runModal(main);

    EXPECT_EQ(advancedGot, DialogResult::Closed);
    EXPECT_EQ(generalGot, DialogResult::Closed);
    EXPECT_TRUE(stillRunningAfterward);
    EXPECT_EQ(codesOf(host.endings()), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(bed.chain.top(), DialogCode::Main);
    EXPECT_EQ(host.errors(), Errors{});
}

TEST_F(HeadlessHostTest, PostedCommandsArriveInOrderOnlyWhenDelivered) {
    main.commandAction = [&](int command) {
        if (command == kOpenUtilityWindow) {
            host.postCommand(1);
        }
    };
    host.setMainWindow(&main);
    host.postCommand(kOpenUtilityWindow);
    host.postCommand(kExit);
    EXPECT_TRUE(main.commands.empty());
    EXPECT_EQ(host.posted(), (std::deque<int>{kOpenUtilityWindow, kExit}));

    EXPECT_EQ(host.deliverPosted(), 3);
    EXPECT_EQ(main.commands, (std::vector<int>{kOpenUtilityWindow, kExit, 1}));
    EXPECT_TRUE(host.posted().empty());
}

TEST_F(HeadlessHostTest, CommandsWithoutAMainWindowAreLostWithAnError) {
    host.postCommand(kExit);
    EXPECT_EQ(host.deliverPosted(), 0);
    EXPECT_EQ(host.errors().size(), 1u);
}

TEST_F(HeadlessHostTest, CommandsThatKeepPostingStop) {
    main.commandAction = [&](int command) { host.postCommand(command); };
    host.setMainWindow(&main);
    host.postCommand(kOpenUtilityWindow);
    EXPECT_GT(host.deliverPosted(), 0);
    EXPECT_EQ(host.errors().size(), 1u);
}

// "Exit" from the tray while two settings dialogs are open ends them all, the main window last.
TEST_F(HeadlessHostTest, AnExitCommandDeliveredInAChildEndsEveryRun) {
    main.commandAction = [&](int command) {
        if (command == kExit) {
            bed.chain.closeAll(host, ui::OpenDialogChain::AtMainWindow::End);
        }
    };
    host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost&) { main.openChild(general); });
    host.script(DialogCode::GeneralSettings,
                [&](ui::Dialog&, HeadlessHost&) { general.openChild(advanced); });
    host.script(DialogCode::AdvancedSettings, [&](ui::Dialog&, HeadlessHost& h) {
        h.postCommand(kExit);
        EXPECT_FALSE(advanced.ended());
        h.deliverPosted();
    });

    EXPECT_EQ(host.runModal(main), DialogResult::Closed);
    EXPECT_EQ(codesOf(host.endings()), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(main.commands, (std::vector<int>{kExit}));
    EXPECT_EQ(host.mainWindow(), nullptr);
    EXPECT_EQ(host.errors(), Errors{});
}

// A modal dialog shows once initialised, even if its initialisation hid it: the main window
// hides itself only afterwards, and sits off-screen until it is centred.
TEST_F(HeadlessHostTest, MainWindowPlacementIsKeptAsState) {
    main.initialiseAction = [&] {
        host.hideMainWindow();
        host.moveMainWindow(30000, 30000);
    };
    std::vector<HeadlessHost::MainWindowState> states;
    host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost& h) {
        states.push_back(h.mainWindowState());
        h.hideMainWindow();
        states.push_back(h.mainWindowState());
        h.centreMainWindow();
        h.showMainWindow();
        h.raiseMainWindow();
        states.push_back(h.mainWindowState());
        main.end(DialogResult::Cancel);
    });

    host.runModal(main);

    ASSERT_EQ(states.size(), 3u);
    EXPECT_TRUE(states[0].visible);
    EXPECT_EQ(std::pair(states[0].x, states[0].y), std::pair(30000, 30000));
    EXPECT_FALSE(states[1].visible);
    EXPECT_TRUE(states[2].visible);
    EXPECT_TRUE(states[2].centred);
    EXPECT_EQ(std::pair(states[2].x, states[2].y),
              std::pair((HeadlessHost::kScreenWidth - HeadlessHost::kMainWidth) / 2,
                        (HeadlessHost::kScreenHeight - HeadlessHost::kMainHeight) / 2));
    EXPECT_EQ(states[2].raiseCount, 1);
    EXPECT_FALSE(host.mainWindowState().visible);
}

}  // namespace
}  // namespace rizorivu::testing
