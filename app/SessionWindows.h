#pragma once

#include "adapter/AdapterDiscovery.h"
#include "app/FirstOpeningNotice.h"
#include "app/Session.h"
#include "app/StartupTexts.h"
#include "ui/CTrayIcon.h"
#include "ui/DialogEnvironment.h"
#include "ui/main/MainWindow.h"
#include "ui/station/LanguageSwitch.h"

namespace rizorivu {

// What a session runs on a window system: the tray icon, adapter discovery and the main
// window, built as start-up leaves them and ready for the host's modal run of `main`.
//
// The tray icon is created with status icon 0, the "Tray" menu and "Open Utility Window" as
// its default command, then taken out of the notification area until the main window has an
// adapter open. The session, the host and the notification area outlive these windows.
class SessionWindows {
public:
    SessionWindows(Session& session, ui::DialogHost& host, TrayService& traySystem,
                   const StartupTexts& trayTexts);
    SessionWindows(const SessionWindows&) = delete;
    SessionWindows& operator=(const SessionWindows&) = delete;

    // The host the windows use: the given one, which also tells of damaged hives.
    FirstOpeningNotice windowHost;
    const ui::DialogEnvironment environment;
    CTrayIcon tray;
    // Makes another language current in every open window and the tray icon.
    ui::LanguageSwitch languages;
    AdapterDiscovery discovery;
    ui::MainWindow main;
};

}  // namespace rizorivu
