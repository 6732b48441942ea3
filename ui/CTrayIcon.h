#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/TrayService.h"

namespace rizorivu {

// The utility's icon in the notification area: it shows the adapter's state, its menu opens
// the main window or ends the utility, and a double-click opens the main window. Commands go
// to the main window through `post`; `raise` brings the main window to the foreground.
class CTrayIcon {
public:
    static constexpr int kMenuId = 173;               // the "Tray" menu, also the icon's id
    static constexpr int kOpenUtilityWindow = 32771;  // menu command at position 0
    static constexpr int kExit = 32773;               // menu command at position 1
    static constexpr std::size_t kTooltipChars = 63;

    struct MainWindowLink {
        std::function<void(int command)> post;  // post a command to the main window
        std::function<void()> raise;            // bring the main window to the foreground
    };

    // Adds the icon (enabled when the notification area took it) and records the default
    // menu item.
    CTrayIcon(TrayService& service, std::string_view tooltip, int icon, int defaultItem,
              bool defaultByPosition, MainWindowLink link);
    // Removes the icon when it is shown.
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // While not enabled every operation does nothing and answers false.
    bool addIcon(int icon);
    bool setIcon(int icon);
    bool setTooltip(std::string_view text);  // cut to 63 characters
    bool removeIcon();
    bool setDefaultItem(int item, bool byPosition);
    void setMenuTexts(std::string_view openText, std::string_view exitText);

    // The notification area's mouse events.
    void onMouseEvent(TrayService::MouseEvent event);
    // A command chosen from the menu the notification area shows by itself.
    void onMenuChoice(int command);

    bool enabled() const { return enabled_; }
    bool shown() const { return shown_; }
    int icon() const { return icon_; }
    const std::string& tooltip() const { return tooltip_; }
    const std::string& openText() const { return openText_; }
    const std::string& exitText() const { return exitText_; }

private:
    // The command of the default item; 0 when a position names no item.
    int defaultCommand() const;
    // Gives the notification area the menu as it stands now.
    void publishMenu();
    // The double-click's command: the window comes forward and the default item runs.
    void openByDefault();

    TrayService& service_;
    MainWindowLink link_;
    bool enabled_ = false;
    bool shown_ = false;
    int icon_ = 0;
    std::string tooltip_;
    std::string openText_ = "Open Utility Window";
    std::string exitText_ = "Exit RIZorivu";
    int defaultItem_ = kOpenUtilityWindow;
    bool defaultByPosition_ = false;
    bool doubleClickPending_ = false;
};

}  // namespace rizorivu
