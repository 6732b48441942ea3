#pragma once

#include <iosfwd>
#include <string_view>

#include "ui/DialogHost.h"
#include "ui/TrayService.h"

namespace rizorivu {

// A desktop without a notification area (GNOME without an extension, a bare Wayland
// compositor) would leave the utility hidden and unreachable but by a second start. There the
// user is told once, and the main window opens at start as if chosen from the tray menu.
class TrayAbsence {
public:
    static constexpr std::string_view kMessage =
        "rizorivu: this desktop shows no notification area; the utility window opens instead";

    // Asked once the session's windows exist and before the main window runs. Answers whether
    // the window was asked to open.
    static bool openWindowWithoutTray(const TrayService& tray, ui::DialogHost& host,
                                      std::ostream& diagnostics);
};

}  // namespace rizorivu
