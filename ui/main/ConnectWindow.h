#pragma once

#include "ui/MessageBox.h"

namespace rizorivu::ui {

// What joining a network asks of the main window: its questions, the key dialogs it opens
// above the window, and its poll timer, which no tick may interleave with the writes.
class ConnectWindow {
public:
    virtual ~ConnectWindow() = default;
    virtual MessageAnswer askAboutPreviousSettings(const MessageBox& question) = 0;
    virtual void openWepKeys() = 0;
    virtual void openWpaSettings() = 0;
    virtual void stopPolling() = 0;
    virtual void resumePolling() = 0;
};

}  // namespace rizorivu::ui
