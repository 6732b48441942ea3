#pragma once

#include "ui/DialogResult.h"
#include "ui/MessageBox.h"

namespace rizorivu::ui {

class Dialog;

// Everything the window system does for the dialogs. Dialogs and the code around them call
// it only on the user-interface thread. A host outlives every dialog that uses it.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Creates the dialog's window, calls dialog.initialise(), shows the window and runs it
    // modally until the dialog is ended; answers its result. Runs nest. Timers of other
    // dialogs keep firing meanwhile, and posted commands are delivered. A run of the main
    // window (code Main) makes that dialog the main window that the operations below address.
    virtual DialogResult runModal(Dialog& dialog) = 0;
    // Leaves the dialog's modal run once the handler that asked for it has returned.
    // Dialog::end calls this; nothing else should.
    virtual void endDialog(Dialog& dialog, DialogResult result) = 0;
    // The dialog object is going away: drop its timers and anything else that refers to it.
    virtual void forget(const Dialog& dialog) = 0;

    // Shows a message box modally over `owner` and answers the button chosen.
    virtual MessageAnswer showMessage(Dialog& owner, const MessageBox& box) = 0;

    // Starts (or restarts with a new period) timer `timerId` of `owner`: its onTimer(timerId)
    // runs every `periodMs` milliseconds until killed or until the dialog's run ends.
    virtual void startTimer(Dialog& owner, int timerId, int periodMs) = 0;
    virtual void killTimer(Dialog& owner, int timerId) = 0;

    // Queues a command for the main window; its onCommand(commandId) runs later, from the
    // event loop, after the current handler has returned.
    virtual void postCommand(int commandId) = 0;

    virtual void showMainWindow() = 0;
    virtual void hideMainWindow() = 0;
    virtual void centreMainWindow() = 0;
    // Brings the main window to the top and makes it the foreground window.
    virtual void raiseMainWindow() = 0;
    // Moves the main window's top-left corner to screen position (x, y).
    virtual void moveMainWindow(int x, int y) = 0;
};

}  // namespace rizorivu::ui
