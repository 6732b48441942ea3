#pragma once

#include <iosfwd>

#include "app/MainWindowRunner.h"
#include "platform/CaptionRegistry.h"

namespace rizorivu::qt {

// The last steps of start-up on Qt: the notification area, the dialog host with the views,
// and the session's windows on them, the main window run modally until it ends. The main
// window's caption is published in the caption table for as long as it runs, so that a later
// start finds it. Needs a QApplication.
class QtMainWindowRunner final : public MainWindowRunner {
public:
    // `diagnostics` hears that the desktop has no notification area, when it has none.
    QtMainWindowRunner(const CaptionRegistry& captions, std::ostream& diagnostics)
        : captions_(captions), diagnostics_(diagnostics) {}

    int run(Session& session, const StartupTexts& trayTexts,
            const std::function<void()>& windowFindable) override;

private:
    const CaptionRegistry& captions_;
    std::ostream& diagnostics_;
};

}  // namespace rizorivu::qt
