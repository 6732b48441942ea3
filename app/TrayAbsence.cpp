#include "app/TrayAbsence.h"

#include <ostream>

#include "ui/CTrayIcon.h"

namespace rizorivu {

bool TrayAbsence::openWindowWithoutTray(const TrayService& tray, ui::DialogHost& host,
                                        std::ostream& diagnostics) {
    if (tray.available()) {
        return false;
    }
    diagnostics << kMessage << '\n';
    // Posted, so it arrives once the main window has initialised and hidden itself.
    host.postCommand(CTrayIcon::kOpenUtilityWindow);
    return true;
}

}  // namespace rizorivu
