#pragma once

#include <functional>
#include <string>

namespace rizorivu {

// The desktop's notification area, as the tray icon logic needs it. The toolkit layer
// implements it; tests use a recording one. Icons are the five status pictures by index
// (0, 1 connected, 2 not connected, 3 access point, 4 Zero Configuration in control).
class TrayService {
public:
    // `Activate` is the one activation of a notification area that cannot double-click (a
    // StatusNotifierItem host): it stands for the double-click there.
    enum class MouseEvent { LeftDoubleClick, LeftRelease, RightRelease, Activate, Other };

    virtual ~TrayService() = default;
    // False when the desktop has no notification area; the utility then runs without icon.
    virtual bool available() const = 0;
    // Shows the icon; false when the notification area refused it.
    virtual bool add(int iconIndex, const std::string& tooltip) = 0;
    virtual void setIcon(int iconIndex) = 0;
    virtual void setTooltip(const std::string& tooltip) = 0;
    virtual void remove() = 0;
    // Pops up the menu at the pointer with the two items, the default one marked; answers
    // the chosen command, or 0 when the user chose nothing.
    virtual int popUpMenu(const std::string& openText, int openCommand, const std::string& exitText,
                          int exitCommand, int defaultCommand) = 0;
    // Mouse events on the icon reach this handler.
    virtual void setMouseHandler(std::function<void(MouseEvent)> handler) = 0;
    // The menu the notification area shows by itself on a right-click (a StatusNotifierItem
    // host exports it and never reports the click); a choice from it reaches the menu handler.
    // An area that leaves the menu to `popUpMenu` ignores both.
    virtual void setMenu(const std::string& /*openText*/, int /*openCommand*/,
                         const std::string& /*exitText*/, int /*exitCommand*/,
                         int /*defaultCommand*/) {}
    virtual void setMenuHandler(std::function<void(int command)> /*handler*/) {}
};

}  // namespace rizorivu
