#include "app/SessionWindows.h"

#include "ui/DialogHost.h"

namespace rizorivu {

namespace {

// What the user is told when start-up found the saved settings damaged: that they were reset,
// and where the damaged copy is, should anyone want to look at it.
std::optional<ui::MessageBox> damagedHiveNotice(const Session& session) {
    if (session.damagedHives.empty()) {
        return std::nullopt;
    }
    std::string text =
        "The saved settings could not be read and were reset to their defaults.\n\n"
        "The damaged copy was kept as:";
    for (const std::string& copy : session.damagedHives) {
        text += "\n" + copy;
    }
    return ui::MessageBox{text, session.text.text("MP_Dialog_Title", "Nimbo K-540 Utility"),
                          ui::MessageButtons::Ok, ui::MessageIcon::Exclamation};
}

}  // namespace

SessionWindows::SessionWindows(Session& session, ui::DialogHost& host, TrayService& traySystem,
                               const StartupTexts& trayTexts)
    : windowHost(host, damagedHiveNotice(session)),
      environment{windowHost, session.chain, session.text},
      tray(traySystem, trayTexts.tooltip, ui::MainWindow::kIconConnected,
           CTrayIcon::kOpenUtilityWindow, false,
           {[&host](int command) { host.postCommand(command); },
            [&host] { host.raiseMainWindow(); }}),
      languages(session.text, session.chain, session.settings.appKey,
                {[this](std::string_view tip) { tray.setTooltip(tip); },
                 [this](std::string_view open, std::string_view exit) {
                     tray.setMenuTexts(open, exit);
                 }}),
      discovery(session.settings.library, session.settings.adapter, session.settings.registry,
                session.settings.ansi, session.settings.clock,
                session.configuration.matchingDeviceIds),
      main(session.settings, session.configuration, environment, discovery, tray, languages) {
    windowHost.setOwner(main);
    tray.setMenuTexts(trayTexts.openText, trayTexts.exitText);
    // Back in the notification area once the main window has an adapter open.
    tray.removeIcon();
}

}  // namespace rizorivu
