#pragma once

namespace rizorivu {
class LocalizedText;
}

namespace rizorivu::ui {

class DialogHost;
class OpenDialogChain;

// What every dialog is built with: the window system, the chain of open dialogs and the
// texts of the current language. All three belong to the application and outlive the dialogs.
struct DialogEnvironment {
    DialogHost& host;
    OpenDialogChain& chain;
    const LocalizedText& texts;
};

}  // namespace rizorivu::ui
