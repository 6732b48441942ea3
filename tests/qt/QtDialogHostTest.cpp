// The Qt dialog host: modal runs on their own event loops, timers that keep firing in nested
// runs, queued commands, the default Enter/Escape handling and the parked main window. Timers
// run with period 0, so every test is driven by events and never by waiting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

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

TEST_F(QtDialogHostTest, EnterAndEscapeGoToTheDialogsOkAndCancel) {
    for (const auto& [keyPressed, expected] : {std::pair{Qt::Key_Escape, DialogResult::Cancel},
                                               std::pair{Qt::Key_Return, DialogResult::Ok}}) {
        // clang 14 cannot capture a structured binding in a lambda.
        const Qt::Key key = keyPressed;
        ProbeDialog dialog(DialogCode::AdvancedSettings, bed.environment);
        dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
        int presses = 0;
        dialog.timerAction = [&](int) {
            // A key that went nowhere must fail the test, not hang it.
            if (++presses > 3) {
                dialog.end(DialogResult::Closed);
                return;
            }
            press(bed.host.windowOf(dialog), key);
        };
        EXPECT_EQ(bed.host.runModal(dialog), expected);
    }
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

TEST_F(QtDialogHostTest, MessageBoxesAnswerTheButtonChosen) {
    ProbeDialog dialog(DialogCode::Main, bed.environment);
    std::vector<ui::MessageAnswer> answers;
    dialog.initialiseAction = [&] { dialog.startTimer(1, 0); };
    dialog.timerAction = [&](int) {
        dialog.killTimer(1);
        for (const ui::MessageButtons buttons :
             {ui::MessageButtons::YesNo, ui::MessageButtons::Ok}) {
            // Escape picks the box's way out as soon as it runs.
            QMetaObject::invokeMethod(
                &app_,
                [] {
                    QWidget* box = QApplication::activeModalWidget();
                    if (box != nullptr) {
                        press(box, Qt::Key_Escape);
                    }
                },
                Qt::QueuedConnection);
            answers.push_back(
                dialog.ask({"Take over?", "Nimbo", buttons, ui::MessageIcon::Question}));
        }
        dialog.end(DialogResult::Ok);
    };
    bed.host.runModal(dialog);
    EXPECT_EQ(answers,
              (std::vector<ui::MessageAnswer>{ui::MessageAnswer::No, ui::MessageAnswer::Ok}));
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
