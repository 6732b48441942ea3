#include "qt/QtMainWindowRunner.h"

#include <memory>
#include <optional>

#include "adapter/AdapterDiscovery.h"
#include "app/ApplicationContext.h"
#include "ui/CTrayIcon.h"
#include "qt/MainWindowView.h"
#include "qt/ModelSubscription.h"
#include "qt/QtDialogHost.h"
#include "qt/QtTrayService.h"
#include "ui/main/MainWindow.h"

namespace rizorivu::qt {

int QtMainWindowRunner::run(ApplicationContext& context, const StartupTexts& trayTexts,
                            const std::function<void()>& windowFindable) {
    QtTrayService tray;
    QtDialogHost host([&tray](ui::Dialog& dialog, QWidget* parent) -> std::unique_ptr<DialogView> {
        if (auto* main = dynamic_cast<ui::MainWindow*>(&dialog)) {
            return std::make_unique<MainWindowView>(*main, parent, tray.icons().applicationIcon());
        }
        return nullptr;
    });
    const ui::DialogEnvironment environment{host, context.chain, context.text};

    CTrayIcon trayIcon(
        tray, trayTexts.tooltip, ui::MainWindow::kIconConnected, CTrayIcon::kOpenUtilityWindow,
        false,
        {[&host](int command) { host.postCommand(command); }, [&host] { host.raiseMainWindow(); }});
    trayIcon.setMenuTexts(trayTexts.openText, trayTexts.exitText);
    // Back in the notification area once the main window has an adapter open.
    trayIcon.removeIcon();

    SettingsContext& settings = context.settings;
    AdapterDiscovery discovery(settings.library, settings.adapter, settings.registry,
                               settings.ansi, settings.clock,
                               context.configuration.matchingDeviceIds);
    ui::MainWindow main(settings, context.configuration, environment, discovery, trayIcon);

    std::optional<CaptionRegistry::Publication> caption;
    const ModelSubscription captionFollowsTitle(main.title(), [&](ui::Change change) {
        if (change == ui::Change::Text) {
            // The new caption first, so that the window is never unfindable.
            std::optional<CaptionRegistry::Publication> next =
                captions_.publish(main.title().text());
            caption = std::move(next);
            windowFindable();
        }
    });
    if (!main.title().text().empty()) {
        caption = captions_.publish(main.title().text());
        windowFindable();
    }

    host.runModal(main);
    return 0;
}

}  // namespace rizorivu::qt
