#include "ui/Dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/ui/ProbeDialog.h"

namespace rizorivu::testing {
namespace {

using ui::Change;
using ui::DialogCode;
using ui::DialogResult;

// What a child saw of the chain while it ran.
struct ChildView {
    DialogCode top;
    DialogCode parent;
    const ui::Dialog* slot;
};

class DialogChildRun : public ::testing::TestWithParam<DialogCode> {};

TEST_P(DialogChildRun, ParentAndTopCodeFollowTheChild) {
    const DialogCode childCode = GetParam();
    DialogBed bed;
    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog child(childCode, bed.environment);
    std::optional<ChildView> during;
    std::optional<DialogResult> returned;

    bed.host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost&) {
        returned = main.openChild(child);
        main.end(DialogResult::Ok);
    });
    bed.host.script(childCode, [&](ui::Dialog&, HeadlessHost&) {
        during = ChildView{bed.chain.top(), child.parentCode(), bed.chain.slot(childCode)};
        child.end(DialogResult::Ok);
    });

    EXPECT_EQ(bed.host.runModal(main), DialogResult::Ok);

    ASSERT_TRUE(during.has_value());
    EXPECT_EQ(during->top, childCode);
    EXPECT_EQ(during->parent, DialogCode::Main);
    EXPECT_EQ(during->slot, &child);
    EXPECT_EQ(returned, DialogResult::Ok);
    EXPECT_EQ(bed.chain.top(), DialogCode::Main);
    EXPECT_EQ(bed.chain.slot(childCode), nullptr);
    EXPECT_EQ(bed.chain.slot(DialogCode::Main), &main);
    EXPECT_EQ(bed.host.errors(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Ui, DialogChildRun,
                         ::testing::Values(DialogCode::GeneralSettings,
                                           DialogCode::AdvancedSettings, DialogCode::WepKeys,
                                           DialogCode::Information, DialogCode::AccessPointSettings,
                                           DialogCode::MacFilter, DialogCode::WpaSettings),
                         [](const auto& info) {
                             return "Code" + std::to_string(ui::toInt(info.param));
                         });

TEST(DialogNestedRuns, ChildrenHandTheTopCodeBack) {
    DialogBed bed;
    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog general(DialogCode::GeneralSettings, bed.environment);
    ProbeDialog advanced(DialogCode::AdvancedSettings, bed.environment);
    ProbeDialog wep(DialogCode::WepKeys, bed.environment);
    std::vector<DialogCode> tops;

    bed.host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost&) {
        main.openChild(general);
        tops.push_back(bed.chain.top());
        main.end(DialogResult::Cancel);
    });
    bed.host.script(DialogCode::GeneralSettings, [&](ui::Dialog&, HeadlessHost&) {
        general.openChild(advanced);
        tops.push_back(bed.chain.top());
        general.openChild(wep);
        tops.push_back(bed.chain.top());
        general.end(DialogResult::Cancel);
    });
    bed.host.script(DialogCode::AdvancedSettings, [&](ui::Dialog&, HeadlessHost&) {
        tops.push_back(bed.chain.top());
        advanced.end(DialogResult::Cancel);
    });
    bed.host.script(DialogCode::WepKeys, [&](ui::Dialog&, HeadlessHost&) {
        tops.push_back(bed.chain.top());
        EXPECT_EQ(wep.parentCode(), DialogCode::GeneralSettings);
        wep.end(DialogResult::Cancel);
    });

    bed.host.runModal(main);

    EXPECT_EQ(tops, (std::vector<DialogCode>{DialogCode::AdvancedSettings,
                                             DialogCode::GeneralSettings, DialogCode::WepKeys,
                                             DialogCode::GeneralSettings, DialogCode::Main}));
    EXPECT_EQ(advanced.parentCode(), DialogCode::GeneralSettings);
    EXPECT_EQ(general.parentCode(), DialogCode::Main);
}

TEST(DialogInitialise, RegistersThenRecaptionsThenRunsItsOwnSteps) {
    DialogBed bed;
    std::vector<std::string> log;
    ProbeDialog general(DialogCode::GeneralSettings, bed.environment, &log);
    general.initialiseAction = [&] {
        log.push_back("top " + std::to_string(ui::toInt(bed.chain.top())));
        log.push_back(bed.chain.slot(DialogCode::GeneralSettings) == &general ? "slot" : "no slot");
    };

    general.initialise();

    EXPECT_EQ(log, (std::vector<std::string>{"1:recaption", "1:initialise", "top 1", "slot"}));
    // Without a language every text is its default.
    EXPECT_EQ(general.title().text(), "Probe 1");
    EXPECT_EQ(general.caption.text(), "Name:");
}

TEST(DialogInitialise, ASecondRunStartsUnended) {
    DialogBed bed;
    ProbeDialog info(DialogCode::Information, bed.environment);
    std::vector<bool> endedAtStart;
    for (DialogResult result : {DialogResult::Ok, DialogResult::Cancel}) {
        bed.host.script(DialogCode::Information, [&, result](ui::Dialog& d, HeadlessHost&) {
            endedAtStart.push_back(d.ended());
            d.end(result);
        });
    }
    EXPECT_EQ(bed.host.runModal(info), DialogResult::Ok);
    EXPECT_EQ(bed.host.runModal(info), DialogResult::Cancel);
    EXPECT_EQ(endedAtStart, (std::vector<bool>{false, false}));
}

TEST(DialogLifetime, ADestroyedDialogLeavesTheChain) {
    DialogBed bed;
    ProbeDialog main(DialogCode::Main, bed.environment);
    main.initialise();
    {
        ProbeDialog general(DialogCode::GeneralSettings, bed.environment);
        general.setParentCode(DialogCode::Main);
        general.initialise();
        general.startTimer(1, 1000);
    }
    EXPECT_EQ(bed.chain.slot(DialogCode::GeneralSettings), nullptr);
    EXPECT_FALSE(bed.host.tick(1));

    // The stale top code leads the walks to an empty slot, where they stop.
    bed.host.showMainWindow();
    bed.chain.recaptionFrom(DialogCode::GeneralSettings);
    bed.chain.closeAll(bed.host, ui::OpenDialogChain::AtMainWindow::Hide);
    EXPECT_TRUE(bed.host.endings().empty());
    EXPECT_TRUE(bed.host.mainWindowState().visible);
}

// A probe with two buttons, either of which can be made the default.
class ButtonProbe final : public ProbeDialog {
public:
    using ProbeDialog::ProbeDialog;
    using ui::Dialog::offerStateButton;
    using ui::Dialog::setDefaultButton;
    ui::Button apply;
    ui::Button other;
    int applyPresses = 0;
    int otherPresses = 0;
};

// Enter presses the default button only while it can be pressed; without one it does nothing,
// so typed input stays. Escape cancels.
TEST(DialogEnd, EnterPressesTheDefaultButtonAndEscapeCancels) {
    struct Case {
        const char* story;
        std::function<void(ButtonProbe&)> arrange;
        int applyPresses;
        int otherPresses;
    };
    const auto pressApply = [](ButtonProbe& d) { return [&d] { ++d.applyPresses; }; };
    const std::vector<Case> cases = {
        {"no default button", [](ButtonProbe&) {}, 0, 0},
        {"default button", [&](ButtonProbe& d) { d.setDefaultButton(d.apply, pressApply(d)); }, 1,
         0},
        {"default button disabled",
         [&](ButtonProbe& d) {
             d.setDefaultButton(d.apply, pressApply(d));
             d.apply.setEnabled(false);
         },
         0, 0},
        {"another button made default later",
         [&](ButtonProbe& d) {
             d.setDefaultButton(d.apply, pressApply(d));
             d.setDefaultButton(d.other, [&d] { ++d.otherPresses; });
         },
         0, 1},
        {"state button while editing",
         [&](ButtonProbe& d) { d.offerStateButton(true, d.apply, pressApply(d)); }, 1, 0},
        {"editing, then viewing again",
         [&](ButtonProbe& d) {
             d.offerStateButton(true, d.apply, pressApply(d));
             d.offerStateButton(false, d.apply, pressApply(d));
         },
         0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        DialogBed bed;
        ButtonProbe dialog(DialogCode::WepKeys, bed.environment);
        c.arrange(dialog);
        EXPECT_EQ(dialog.apply.isDefault(), dialog.defaultButton() == &dialog.apply);
        EXPECT_EQ(dialog.other.isDefault(), dialog.defaultButton() == &dialog.other);
        bed.host.script(DialogCode::WepKeys, [](ui::Dialog& d, HeadlessHost&) {
            d.onOk();
            EXPECT_FALSE(d.ended()) << "Enter never ends a dialog by itself";
            d.onCancel();
        });
        EXPECT_EQ(bed.host.runModal(dialog), DialogResult::Cancel);
        EXPECT_EQ(dialog.applyPresses, c.applyPresses);
        EXPECT_EQ(dialog.otherPresses, c.otherPresses);
        EXPECT_EQ(bed.host.errors(), std::vector<std::string>{});
    }
}

constexpr std::string_view kLanguages =
    "[LANGUAGES]\n"
    "Language_1_Section=English\n"
    "Language_2_Section=Deutsch\n"
    "[English]\n"
    "Probe_Title_0=Utility\n"
    "Probe_Title_1=More Setting...\n"
    "Probe_Title_2=Advanced Setting...\n"
    "Probe_Title_5=Access Point Setting\n"
    "[Deutsch]\n"
    "Probe_Title_0=Dienstprogramm\n"
    "Probe_Title_1=Weitere Einstellungen...\n"
    "Probe_Title_2=Erweiterte Einstellungen...\n"
    "Probe_Title_5=Zugangspunkt\n"
    "Probe_Caption=Name (de):\n";

// The language changes in the advanced settings while the general settings and the main window
// are open beneath it: all three show the new texts before the user does anything else.
TEST(DialogLanguageChange, RecaptionsEveryDialogOnThePathToTheMainWindow) {
    DialogBed bed;
    TempDir dir;
    ASSERT_TRUE(bed.texts.load(dir.write("lang.ini", kLanguages), "LANGUAGES"));
    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog general(DialogCode::GeneralSettings, bed.environment);
    ProbeDialog advanced(DialogCode::AdvancedSettings, bed.environment);
    std::vector<std::string> before;
    std::vector<std::string> after;
    const auto titles = [&] {
        return std::vector<std::string>{main.title().text(), general.title().text(),
                                        advanced.title().text(), advanced.caption.text()};
    };

    bed.host.script(DialogCode::Main, [&](ui::Dialog&, HeadlessHost&) {
        main.openChild(general);
        main.end(DialogResult::Cancel);
    });
    bed.host.script(DialogCode::GeneralSettings, [&](ui::Dialog&, HeadlessHost&) {
        general.openChild(advanced);
        general.end(DialogResult::Cancel);
    });
    bed.host.script(DialogCode::AdvancedSettings, [&](ui::Dialog&, HeadlessHost&) {
        before = titles();
        ASSERT_TRUE(bed.texts.select(2));
        bed.chain.recaptionFrom(advanced.code());
        after = titles();
        advanced.end(DialogResult::Cancel);
    });
    bed.host.runModal(main);

    EXPECT_EQ(before, (std::vector<std::string>{"Utility", "More Setting...", "Advanced Setting...",
                                                "Name:"}));
    EXPECT_EQ(after, (std::vector<std::string>{"Dienstprogramm", "Weitere Einstellungen...",
                                               "Erweiterte Einstellungen...", "Name (de):"}));
}

// A timer tick that fills controls repaints the view (its observers) but is no user edit:
// the dialog's user handlers run only when the view reports the user's own input.
TEST(DialogControls, ProgrammaticUpdatesRepaintWithoutRunningUserHandlers) {
    DialogBed bed;
    ProbeDialog main(DialogCode::Main, bed.environment);
    main.initialise();
    main.startTimer(1, 1000);
    main.timerAction = [&](int) {
        main.name.setText("home");
        main.choice.setItems({"Infrastructure", "Ad Hoc"});
        main.choice.select(1);
    };
    std::vector<std::string> repainted;
    main.name.subscribe([&](Change) { repainted.push_back("name=" + main.name.text()); });
    main.choice.subscribe([&](Change c) {
        if (c == Change::Selection) {
            repainted.push_back("choice=" + main.choice.selectedItem());
        }
    });

    ASSERT_TRUE(bed.host.tick(1));
    EXPECT_EQ(repainted, (std::vector<std::string>{"name=home", "choice=Ad Hoc"}));
    EXPECT_EQ(main.nameEdits, 0);
    EXPECT_EQ(main.choicePicks, 0);
}

TEST(DialogTimers, PeriodsBelowTheFloorRunAtTheFloor) {
    struct Case {
        int asked;
        int runs;
    };
    for (const Case c :
         {Case{0, 10}, Case{-1000, 10}, Case{9, 10}, Case{10, 10}, Case{1000, 1000}}) {
        DialogBed bed;
        ProbeDialog main(DialogCode::Main, bed.environment);
        main.initialise();
        main.startTimer(1, c.asked);
        const auto* timer = bed.host.timer(1);
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->periodMs, c.runs) << "asked for " << c.asked << " ms";
    }
}

}  // namespace
}  // namespace rizorivu::testing
