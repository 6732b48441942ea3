#include "app/SessionWindows.h"

#include "ui/DialogHost.h"

namespace rizorivu {

SessionWindows::SessionWindows(Session& session, ui::DialogHost& host, TrayService& traySystem,
                               const StartupTexts& trayTexts)
    : environment{host, session.chain, session.text},
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
    tray.setMenuTexts(trayTexts.openText, trayTexts.exitText);
    // Back in the notification area once the main window has an adapter open.
    tray.removeIcon();
}

}  // namespace rizorivu
