// The Qt dialog host: modal runs on their own event loops, timers that keep firing in nested
// runs, queued commands, message boxes, the tray's window left live, the walk that ends the
// runs, and the parked and the minimised main window. Timers run with period 0, so every test
// is driven by events and never by waiting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

#include "qt/QtDialogHost.h"
#include "tests/ui/ProbeDialog.h"

namespace rizorivu::qt {
namespace {

using testing::ProbeDialog;
using ui::DialogCode;
using ui::DialogResult;

// What a dialog needs, with the Qt host.
struct QtBed {
    CodePage ansi{CodePage::kDefaultName};
    PrivateProfile profile{ansi};
    LocalizedText texts{profile};
    QtDialogHost host{ViewFactory{}};
    ui::OpenDialogChain chain;
    ui::DialogEnvironment environment{host, chain, texts};
};

class QtDialogHostTest : public ::testing::Test {
protected:
    static void press(QWidget* widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    int argc_ = 1;
    char name_[24] = "rizorivu_qt_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    QtBed bed;
};

// A view kind of its own, to tell which creator built a window.
class MarkedView final : public DialogView {
public:
    MarkedView(ui::Dialog& dialog, QWidget* parent, int mark) : DialogView(dialog, parent) {
        window().setProperty("mark", mark);
    }
};

// A model class of its own, registered under a code that a probe dialog can also carry.
class MarkedProbe final : public ProbeDialog {
public:
    using ProbeDialog::ProbeDialog;
};

TEST_F(QtDialogHostTest, TheHostBuildsTheViewRegisteredForTheDialogsCode) {
    ViewFactory views;
    views.add(DialogCode::WepKeys, [](ui::Dialog& d, QWidget* parent) {
        return std::make_unique<MarkedView>(d, parent, 1);
    });
    views.add(DialogCode::Information, [](ui::Dialog& d, QWidget* parent) {
        return std::make_unique<MarkedView>(d, parent, 2);
    });
    // A later creator for a code replaces the earlier one.
    views.add(DialogCode::WepKeys, [](ui::Dialog& d, QWidget* parent) {
        return std::make_unique<MarkedView>(d, parent, 3);
    });
    views.add<MarkedProbe>(DialogCode::MacFilter, [](MarkedProbe& d, QWidget* parent) {
        return std::make_unique<MarkedView>(d, parent, 4);
    });
    QtDialogHost host(std::move(views));
    ui::DialogEnvironment environment{host, bed.chain, bed.texts};

    struct Case {
        DialogCode code;
        bool markedModel;
        QVariant mark;  // invalid: the plain window with the title only
    };
    for (const Case& c :
         {Case{DialogCode::WepKeys, false, 3}, Case{DialogCode::Information, false, 2},
          Case{DialogCode::AdvancedSettings, false, {}}, Case{DialogCode::MacFilter, true, 4},
          Case{DialogCode::MacFilter, false, {}}}) {
        SCOPED_TRACE(toInt(c.code));
        std::unique_ptr<ProbeDialog> dialog =
            c.markedModel ? std::make_unique<MarkedProbe>(c.code, environment)
                          : std::make_unique<ProbeDialog>(c.code, environment);
        QVariant shown;
        dialog->initialiseAction = [&] { dialog->startTimer(1, 0); };
        dialog->timerAction = [&](int) {
            shown = host.windowOf(*dialog)->property("mark");
            dialog->end(DialogResult::Ok);
        };
        host.runModal(*dialog);
        EXPECT_EQ(shown, c.mark);
        bed.chain.leave(*dialog);
    }
}

TEST_F(QtDialogHostTest, ARunLastsUntilTheDialogEndsItself) {
    ProbeDialog dialog(DialogCode::GeneralSettings, bed.environment);
    dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
    dialog.timerAction = [&](int) {
        if (dialog.ticks.size() == 3) {
            dialog.end(DialogResult::Ok);
        }
    };
    EXPECT_EQ(bed.host.runModal(dialog), DialogResult::Ok);
    EXPECT_EQ(dialog.ticks, (std::vector<int>{1, 1, 1}));
    // The run's end stops its timers.
    EXPECT_FALSE(bed.host.timerRunning(dialog, 1));
    EXPECT_EQ(bed.host.windowOf(dialog), nullptr);
}

TEST_F(QtDialogHostTest, ADialogEndedWhileInitialisingNeverRuns) {
    ProbeDialog dialog(DialogCode::Information, bed.environment);
    dialog.initialiseAction = [&] { dialog.end(DialogResult::Cancel); };
    EXPECT_EQ(bed.host.runModal(dialog), DialogResult::Cancel);
}

TEST_F(QtDialogHostTest, TheWindowShowsTheTitleAndFollowsIt) {
    ProbeDialog dialog(DialogCode::WepKeys, bed.environment);
    QString shown;
    dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
    dialog.timerAction = [&](int) {
        dialog.title().setText("Schlüssel");
        shown = bed.host.windowOf(dialog)->windowTitle();
        dialog.end(DialogResult::Ok);
    };
    bed.host.runModal(dialog);
    EXPECT_EQ(shown, QString::fromUtf8("Schlüssel"));
}

// The main window's timer keeps ticking under a child, and a command posted from a handler
// arrives after that handler, once.
TEST_F(QtDialogHostTest, TimersTickUnderNestedRunsAndPostedCommandsArriveOnce) {
    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog child(DialogCode::GeneralSettings, bed.environment);
    std::vector<std::string> log;
    main.initialiseAction = [&] {
        main.startTimer(1, 0);
        bed.host.postCommand(32771);
        log.push_back("posted");
    };
    main.commandAction = [&](int command) {
        log.push_back("command " + std::to_string(command));
        if (command == 32771) {
            main.openChild(child);
            log.push_back("child returned");
            main.end(DialogResult::Closed);
        }
    };
    std::size_t mainTicksWhenChildOpened = 0;
    child.initialiseAction = [&] {
        mainTicksWhenChildOpened = main.ticks.size();
        child.startTimer(2, 0);
    };
    child.timerAction = [&](int) {
        if (main.ticks.size() >= mainTicksWhenChildOpened + 2) {
            child.end(DialogResult::Ok);
        }
    };

    EXPECT_EQ(bed.host.runModal(main), DialogResult::Closed);
    EXPECT_EQ(log, (std::vector<std::string>{"posted", "command 32771", "child returned"}));
    EXPECT_EQ(main.commands, (std::vector<int>{32771}));
    EXPECT_GE(main.ticks.size(), mainTicksWhenChildOpened + 2);
    EXPECT_FALSE(child.ticks.empty());
    EXPECT_EQ(child.parentCode(), DialogCode::Main);
}

TEST_F(QtDialogHostTest, AKilledTimerStaysQuietAndARestartedOneTicksAgain) {
    ProbeDialog dialog(DialogCode::Main, bed.environment);
    dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
    dialog.timerAction = [&](int id) {
        if (id == 1) {
            dialog.killTimer(1);
            dialog.startTimer(2, 0);
        } else {
            EXPECT_FALSE(bed.host.timerRunning(dialog, 1));
            dialog.end(DialogResult::Ok);
        }
    };
    bed.host.runModal(dialog);
    EXPECT_EQ(dialog.ticks, (std::vector<int>{1, 2}));
}

// A close request raised by the program (not by the window manager) is a plain close: the
// ordinary handling cancels the dialog; the window never closes by itself.
TEST_F(QtDialogHostTest, AProgramCloseRequestCancelsThroughTheModel) {
    ProbeDialog dialog(DialogCode::MacFilter, bed.environment);
    bool stillOpenAfterClose = false;
    dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
    dialog.timerAction = [&](int) {
        if (dialog.ticks.size() > 3) {
            dialog.end(DialogResult::Closed);
            return;
        }
        DialogWindow* window = bed.host.windowOf(dialog);
        QCloseEvent close;
        QApplication::sendEvent(window, &close);
        stillOpenAfterClose = !close.isAccepted();
    };
    EXPECT_EQ(bed.host.runModal(dialog), DialogResult::Cancel);
    EXPECT_TRUE(stillOpenAfterClose);
}

// A box with only OK is left by Escape as by OK; a Yes/No question offers no way out, so
// Escape and its close box leave it open, and Enter answers its default, Yes.
TEST_F(QtDialogHostTest, MessageBoxesAnswerTheButtonChosen) {
    enum class Act { Escape, Close, Enter, ClickNo };
    struct Case {
        ui::MessageButtons buttons;
        std::vector<Act> acts;
        std::vector<bool> openAfter;  // after each act
        ui::MessageAnswer answer;
    };
    const std::vector<Case> cases = {
        {ui::MessageButtons::YesNo,
         {Act::Escape, Act::Close, Act::Enter},
         {true, true, false},
         ui::MessageAnswer::Yes},
        {ui::MessageButtons::YesNo,
         {Act::Escape, Act::ClickNo},
         {true, false},
         ui::MessageAnswer::No},
        {ui::MessageButtons::Ok, {Act::Escape}, {false}, ui::MessageAnswer::Ok},
        {ui::MessageButtons::Ok, {Act::Enter}, {false}, ui::MessageAnswer::Ok},
    };
    for (const Case& c : cases) {
        ProbeDialog dialog(DialogCode::Main, bed.environment);
        std::vector<bool> openAfter;
        std::optional<ui::MessageAnswer> answer;
        dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
        dialog.timerAction = [&](int) {
            dialog.killTimer(1);
            QMetaObject::invokeMethod(
                &app_,
                [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    ASSERT_NE(box, nullptr);
                    for (const Act act : c.acts) {
                        if (act == Act::Escape || act == Act::Enter) {
                            press(box, act == Act::Escape ? Qt::Key_Escape : Qt::Key_Return);
                        } else if (act == Act::Close) {
                            QCloseEvent close;
                            QApplication::sendEvent(box, &close);
                        } else {
                            box->button(QMessageBox::No)->click();
                        }
                        openAfter.push_back(box->isVisible());
                    }
                    if (box->isVisible()) {
                        box->done(QDialog::Rejected);  // fail, do not hang
                    }
                },
                Qt::QueuedConnection);
            answer = dialog.ask({"Take over?", "Nimbo", c.buttons, ui::MessageIcon::Question});
            dialog.end(DialogResult::Ok);
        };
        bed.host.runModal(dialog);
        EXPECT_EQ(openAfter, c.openAfter);
        EXPECT_EQ(answer, c.answer);
        bed.chain.leave(dialog);
    }
}

// The tray icon lives in a window of its own (a stand-in here): a dialog or a message box open
// above the main window must leave it taking clicks, or the tray's menu is unreachable.
TEST_F(QtDialogHostTest, AWindowOutsideTheDialogsTakesClicksWhileDialogsAreOpen) {
    QPushButton trayWindow("tray");
    int trayClicks = 0;
    QObject::connect(&trayWindow, &QPushButton::clicked, [&] { ++trayClicks; });
    trayWindow.show();
    const auto clickTray = [&] {
        QTest::mouseClick(trayWindow.windowHandle(), Qt::LeftButton, {},
                          trayWindow.rect().center());
    };

    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog child(DialogCode::GeneralSettings, bed.environment);
    std::vector<int> clicksSeen;
    main.initialiseAction = [&] { main.startTimer(1, 0); };
    main.timerAction = [&](int) {
        main.killTimer(1);
        main.openChild(child);
        main.end(DialogResult::Closed);
    };
    child.initialiseAction = [&] { child.startTimer(2, 0); };
    child.timerAction = [&](int) {
        child.killTimer(2);
        clickTray();
        clicksSeen.push_back(trayClicks);
        QMetaObject::invokeMethod(
            &app_,
            [&] {
                clickTray();
                clicksSeen.push_back(trayClicks);
                if (QWidget* box = QApplication::activeModalWidget()) {
                    press(box, Qt::Key_Return);
                }
            },
            Qt::QueuedConnection);
        child.ask({"Use the previous setting?", "Nimbo", ui::MessageButtons::YesNo,
                   ui::MessageIcon::Question});
        child.end(DialogResult::Ok);
    };
    bed.host.runModal(main);
    EXPECT_EQ(clicksSeen, (std::vector<int>{1, 2}));
}

// "Exit" while a question is open above a dialog: the walk ends the dialogs, the question goes
// with them (as No), and nothing the unwinding handlers open afterwards is shown, so the runs
// return without waiting for anybody.
TEST_F(QtDialogHostTest, EndingTheRunsTakesAlongTheQuestionsAboveThem) {
    ProbeDialog main(DialogCode::Main, bed.environment);
    ProbeDialog child(DialogCode::WepKeys, bed.environment);
    ProbeDialog late(DialogCode::WpaSettings, bed.environment);
    std::vector<std::string> log;
    bool lateInitialised = false;
    late.initialiseAction = [&] { lateInitialised = true; };
    main.initialiseAction = [&] { main.startTimer(1, 0); };
    main.timerAction = [&](int) {
        main.killTimer(1);
        main.openChild(child);
        log.push_back("child returned");
    };
    child.initialiseAction = [&] { child.startTimer(2, 0); };
    child.timerAction = [&](int) {
        child.killTimer(2);
        // What the tray's Exit does, once the question is up.
        QMetaObject::invokeMethod(
            &app_, [&] { bed.chain.closeAll(bed.host, ui::OpenDialogChain::AtMainWindow::End); },
            Qt::QueuedConnection);
        // Should the walk leave the question open, it is answered later instead of hanging.
        QTimer::singleShot(3000, &app_, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                log.push_back("still waiting");
                press(box, Qt::Key_Return);
            }
        });
        const ui::MessageAnswer answer =
            child.ask({"Use the previous setting?", "Nimbo", ui::MessageButtons::YesNo,
                       ui::MessageIcon::Question});
        log.push_back(answer == ui::MessageAnswer::No ? "question: No" : "question: Yes");
        log.push_back(child.openChild(late) == DialogResult::Closed ? "late: not shown" : "late");
        log.push_back(child.ask({"Again?", "Nimbo", ui::MessageButtons::YesNo,
                                 ui::MessageIcon::Question}) == ui::MessageAnswer::No
                          ? "again: No"
                          : "again: Yes");
    };
    EXPECT_EQ(bed.host.runModal(main), DialogResult::Closed);
    EXPECT_EQ(log, (std::vector<std::string>{"question: No", "late: not shown", "again: No",
                                             "child returned"}));
    EXPECT_FALSE(lateInitialised);
}

// Minimised, the main window is hidden by its model; shown again it comes back restored,
// and raising it brings a dialog minimised above it back too.
TEST_F(QtDialogHostTest, AMinimisedMainWindowComesBackRestored) {
    ViewFactory views;
    QtDialogHost* hostOfViews = nullptr;
    views.add(DialogCode::Main, [&](ui::Dialog& d, QWidget* parent) {
        auto view = std::make_unique<DialogView>(d, parent);
        DialogWindow::Behaviour behaviour = view->window().behaviour();
        behaviour.onMinimiseBox = [&](bool) { hostOfViews->hideMainWindow(); };
        view->window().setBehaviour(behaviour);
        return view;
    });
    QtDialogHost host(std::move(views));
    hostOfViews = &host;
    ui::DialogEnvironment environment{host, bed.chain, bed.texts};
    ProbeDialog main(DialogCode::Main, environment);
    ProbeDialog child(DialogCode::Information, environment);
    std::vector<std::string> seen;
    const auto look = [&](const char* step, const ui::Dialog& dialog) {
        const DialogWindow* window = host.windowOf(dialog);
        seen.push_back(std::string(step) + (window->isVisible() ? " visible" : " hidden") +
                       (window->isMinimized() ? " minimised" : ""));
    };
    main.initialiseAction = [&] { main.startTimer(1, 0); };
    main.timerAction = [&](int) {
        main.killTimer(1);
        host.centreMainWindow();
        // As the window manager minimises it (showMinimized() would show it again at once).
        host.windowOf(main)->setWindowState(Qt::WindowMinimized);
        look("minimised", main);
        host.showMainWindow();
        look("shown", main);
        main.openChild(child);
        main.end(DialogResult::Closed);
    };
    child.initialiseAction = [&] { child.startTimer(2, 0); };
    child.timerAction = [&](int) {
        child.killTimer(2);
        host.windowOf(child)->showMinimized();
        host.raiseMainWindow();
        look("child after raising", child);
        child.end(DialogResult::Ok);
    };
    host.runModal(main);
    EXPECT_EQ(seen, (std::vector<std::string>{"minimised hidden minimised", "shown visible",
                                              "child after raising visible"}));
}

// Parked far outside every screen, the main window stays unmapped even while shown; centring
// brings it onto the screen.
TEST_F(QtDialogHostTest, TheMainWindowParkedOffScreenStaysUnmappedUntilCentred) {
    ProbeDialog main(DialogCode::Main, bed.environment);
    std::vector<std::string> seen;
    auto look = [&](const char* step) {
        const DialogWindow* window = bed.host.windowOf(main);
        seen.push_back(std::string(step) + (window->isVisible() ? " visible" : " hidden"));
    };
    main.initialiseAction = [&] {
        bed.host.hideMainWindow();
        bed.host.moveMainWindow(30000, 30000);
        main.startTimer(1, 0);
    };
    main.timerAction = [&](int) {
        main.killTimer(1);
        look("parked");
        bed.host.showMainWindow();
        look("shown while parked");
        bed.host.centreMainWindow();
        look("centred");
        bed.host.hideMainWindow();
        look("hidden");
        main.end(DialogResult::Closed);
    };
    bed.host.runModal(main);
    EXPECT_EQ(seen, (std::vector<std::string>{"parked hidden", "shown while parked hidden",
                                              "centred visible", "hidden hidden"}));
}

TEST_F(QtDialogHostTest, ACommandPostedWithNoMainWindowIsDropped) {
    ProbeDialog other(DialogCode::Information, bed.environment);
    bed.host.postCommand(5);
    other.initialiseAction = [&] { other.startTimer(1, 0); };
    other.timerAction = [&](int) { other.end(DialogResult::Ok); };
    bed.host.runModal(other);
    EXPECT_TRUE(other.commands.empty());
}

}  // namespace
}  // namespace rizorivu::qt
