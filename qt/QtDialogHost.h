#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "qt/DialogView.h"
#include "qt/MessageBoxWindow.h"
#include "qt/ViewFactory.h"
#include "ui/DialogHost.h"

class QEventLoop;

namespace rizorivu::qt {

// The window system for the dialog models, on Qt widgets. Each modal run builds the dialog's
// view through the factory by the dialog's code, runs its own event loop until the model ends it,
// and drops the view again; timers are QTimers that keep firing in nested runs, posted commands are
// queued calls. Needs a QApplication and lives on its thread.
//
// A modal dialog or message box blocks the windows beneath it, not the whole application: the
// tray icon's own window stays live, so that its menu and double-click work while dialogs are
// open. A run that ends takes along every message box opened above it, and while runs unwind
// no new dialog or box is shown (they answer at once), so that "Exit" never waits for a user.
//
// A minimised main window is hidden by its model; it comes back restored (not minimised) the
// next time it is shown, and raising it raises the dialogs open above it too.
//
// The main window is "parked" while it sits outside every screen (the model moves it far away
// to keep it out of sight): window managers put such windows back on a screen, so a parked
// window is kept unmapped even while the model counts it as shown, until it is centred or
// moved onto a screen.
class QtDialogHost final : public ui::DialogHost {
public:
    explicit QtDialogHost(ViewFactory factory);
    ~QtDialogHost() override;
    QtDialogHost(const QtDialogHost&) = delete;
    QtDialogHost& operator=(const QtDialogHost&) = delete;

    // The window of the dialog in a modal run, the innermost run first; null when it has none.
    DialogWindow* windowOf(const ui::Dialog& dialog) const;
    ui::Dialog* mainWindow() const { return main_; }
    // Whether the main window is meant to be shown, and whether it is actually on screen.
    bool mainWindowShown() const { return mainShown_; }
    bool mainWindowParked() const { return mainParked_; }
    // Whether timer `timerId` of `owner` is running.
    bool timerRunning(const ui::Dialog& owner, int timerId) const;

    // --- ui::DialogHost
    ui::DialogResult runModal(ui::Dialog& dialog) override;
    void endDialog(ui::Dialog& dialog, ui::DialogResult result) override;
    void forget(const ui::Dialog& dialog) override;
    ui::MessageAnswer showMessage(ui::Dialog& owner, const ui::MessageBox& box) override;
    void startTimer(ui::Dialog& owner, int timerId, int periodMs) override;
    void killTimer(ui::Dialog& owner, int timerId) override;
    void postCommand(int commandId) override;
    void showMainWindow() override;
    void hideMainWindow() override;
    void centreMainWindow() override;
    void raiseMainWindow() override;
    void moveMainWindow(int x, int y) override;

private:
    struct Run {
        ui::Dialog* dialog;
        std::unique_ptr<DialogView> view;
        QEventLoop* loop;
    };
    using TimerKey = std::pair<const ui::Dialog*, int>;
    struct OpenBox {
        QPointer<MessageBoxWindow> window;
        std::size_t runsBelow;  // how many runs were open when it was asked
    };

    Run* runOf(const ui::Dialog& dialog);
    DialogWindow* mainDialogWindow() const;
    void placeMainWindow();
    void stopTimersOf(const ui::Dialog& dialog);
    // A run has been ended and has not returned yet: the runs are unwinding.
    bool unwinding() const;

    ViewFactory factory_;
    // Posted commands are queued on this object, so that none outlives the host.
    QObject queue_;
    std::vector<std::unique_ptr<Run>> runs_;
    std::vector<OpenBox> boxes_;
    std::map<TimerKey, QPointer<QTimer>> timers_;
    ui::Dialog* main_ = nullptr;
    bool mainShown_ = false;
    bool mainParked_ = false;
};

}  // namespace rizorivu::qt
