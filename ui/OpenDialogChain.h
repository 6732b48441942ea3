#pragma once

#include <array>

#include "ui/DialogCode.h"

namespace rizorivu::ui {

class Dialog;
class DialogHost;

// The dialogs that are open, one slot per code Main .. WpaSettings, and the code of the top
// dialog. Each open dialog knows its opener's code, so the open dialogs form a chain from the
// top dialog down to the main window, which the language change and the closing walks follow.
// Unknown codes and empty slots end every walk. The WPA settings have a slot too, so that
// exit, the adapter's loss and a take-over close them like any other dialog.
class OpenDialogChain {
public:
    static constexpr int kSlotCount = 8;

    // What the closing walk does when it reaches the main window.
    enum class AtMainWindow {
        Hide,  // the adapter is lost or taken over: the window hides and stays running
        End,   // exit: the main window's modal run ends, and with it the process
    };

    // The dialog takes the slot of its code (when its code has one) and becomes the top dialog.
    void enter(Dialog& dialog);
    // Frees the dialog's slot if the dialog still holds it; the top code stays.
    void leave(const Dialog& dialog);

    // The dialog open under `code`, or null.
    Dialog* slot(DialogCode code) const;
    DialogCode top() const { return top_; }
    void setTop(DialogCode code) { top_ = code; }

    // Re-captions the dialog under `start`, then its opener, and so on until the main window
    // has been re-captioned.
    void recaptionFrom(DialogCode start);
    // Ends every dialog from the top dialog down (result Closed), then hides or ends the main
    // window and makes it the top dialog. A walk that meets a code it cannot follow stops
    // there and leaves the top code as it was.
    void closeAll(DialogHost& host, AtMainWindow atMainWindow);

private:
    static bool hasSlot(DialogCode code);

    std::array<Dialog*, kSlotCount> slots_{};
    DialogCode top_ = DialogCode::Main;
};

}  // namespace rizorivu::ui
