#include "qt/QtMainWindowRunner.h"

#include <optional>

#include "app/SessionWindows.h"
#include "app/Startup.h"
#include "app/TrayAbsence.h"
#include "qt/ModelSubscription.h"
#include "qt/QtDialogHost.h"
#include "qt/QtTrayService.h"
#include "qt/UtilityViews.h"

namespace rizorivu::qt {

int QtMainWindowRunner::run(Session& session, const StartupTexts& trayTexts,
                            const std::function<void()>& windowFindable) {
    QtTrayService tray;
    QtDialogHost host(utilityViews(tray.icons().applicationIcon()));
    SessionWindows windows(session, host, tray, trayTexts);
    ui::MainWindow& main = windows.main;

    std::optional<CaptionRegistry::Publication> caption;
    const ModelSubscription captionFollowsTitle(main.title(), [&](ui::Change change) {
        if (change == ui::Change::Text) {
            // The new caption first, so that the window is never unfindable.
            std::optional<CaptionRegistry::Publication> next =
                captions_.publish(main.title().text(), recordRequestsIn(session.settings.appKey));
            caption = std::move(next);
            windowFindable();
        }
    });
    if (!main.title().text().empty()) {
        caption = captions_.publish(main.title().text(), recordRequestsIn(session.settings.appKey));
        windowFindable();
    }

    TrayAbsence::openWindowWithoutTray(tray, host, diagnostics_);
    host.runModal(main);
    return 0;
}

}  // namespace rizorivu::qt
