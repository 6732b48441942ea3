#pragma once

namespace rizorivu::qt {

// Which kind of notification area the toolkit talks to. Qt exports the icon as a
// StatusNotifierItem over D-Bus when a StatusNotifierWatcher with a registered host is on the
// session bus, and embeds it into an XEmbed tray otherwise; the same question, asked here,
// tells whether the area can report a double-click (an XEmbed tray can, a StatusNotifierItem
// host reports one activation only).
class StatusNotifierHost {
public:
    static bool registered();
};

}  // namespace rizorivu::qt
