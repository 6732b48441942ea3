#include "ui/CTrayIcon.h"

#include <utility>

#include "platform/Unicode.h"

namespace rizorivu {

namespace {

// Menu positions, for a default item addressed by position.
constexpr int kOpenPosition = 0;
constexpr int kExitPosition = 1;
constexpr int kNoCommand = 0;

// The tooltip holds 63 characters; a cut never splits a character, or the notification area
// would show a broken one at the end.
std::string cutTooltip(std::string_view text) {
    return std::string(utf8Prefix(text, CTrayIcon::kTooltipChars));
}

}  // namespace

CTrayIcon::CTrayIcon(TrayService& service, std::string_view tooltip, int icon, int defaultItem,
                     bool defaultByPosition, MainWindowLink link)
    : service_(service), link_(std::move(link)), icon_(icon), tooltip_(cutTooltip(tooltip)) {
    if (service_.available()) {
        enabled_ = service_.add(icon_, tooltip_);
        shown_ = enabled_;
    }
    if (enabled_) {
        service_.setMouseHandler([this](TrayService::MouseEvent event) { onMouseEvent(event); });
        service_.setMenuHandler([this](int command) { onMenuChoice(command); });
    }
    setDefaultItem(defaultItem, defaultByPosition);
    publishMenu();
}

CTrayIcon::~CTrayIcon() {
    if (enabled_) {
        service_.setMouseHandler({});
        service_.setMenuHandler({});
        if (shown_) {
            service_.remove();
        }
        enabled_ = false;
        shown_ = false;
    }
}

bool CTrayIcon::addIcon(int icon) {
    if (!enabled_) {
        return false;
    }
    icon_ = icon;
    shown_ = service_.add(icon_, tooltip_);
    return shown_;
}

bool CTrayIcon::setIcon(int icon) {
    if (!enabled_) {
        return false;
    }
    icon_ = icon;
    // While the icon is out of the notification area the index waits for the next add.
    if (shown_) {
        service_.setIcon(icon_);
    }
    return true;
}

bool CTrayIcon::setTooltip(std::string_view text) {
    if (!enabled_) {
        return false;
    }
    tooltip_ = cutTooltip(text);
    if (shown_) {
        service_.setTooltip(tooltip_);
    }
    return true;
}

bool CTrayIcon::removeIcon() {
    if (!enabled_) {
        return false;
    }
    if (shown_) {
        service_.remove();
        shown_ = false;
    }
    return true;
}

bool CTrayIcon::setDefaultItem(int item, bool byPosition) {
    if (item == defaultItem_ && byPosition == defaultByPosition_) {
        return true;
    }
    if (!enabled_) {
        return false;
    }
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
    publishMenu();
    return true;
}

void CTrayIcon::setMenuTexts(std::string_view openText, std::string_view exitText) {
    openText_ = std::string(openText);
    exitText_ = std::string(exitText);
    publishMenu();
}

void CTrayIcon::publishMenu() {
    if (enabled_) {
        service_.setMenu(openText_, kOpenUtilityWindow, exitText_, kExit, defaultCommand());
    }
}

void CTrayIcon::openByDefault() {
    link_.raise();
    const int command = defaultCommand();
    if (command != kNoCommand) {
        link_.post(command);
    }
}

void CTrayIcon::onMenuChoice(int command) {
    if (!enabled_ || (command != kOpenUtilityWindow && command != kExit)) {
        return;
    }
    link_.raise();
    link_.post(command);
}

int CTrayIcon::defaultCommand() const {
    if (!defaultByPosition_) {
        return defaultItem_;
    }
    switch (defaultItem_) {
        case kOpenPosition:
            return kOpenUtilityWindow;
        case kExitPosition:
            return kExit;
        default:
            return kNoCommand;
    }
}

void CTrayIcon::onMouseEvent(TrayService::MouseEvent event) {
    if (!enabled_) {
        return;
    }
    switch (event) {
        case TrayService::MouseEvent::LeftDoubleClick:
            doubleClickPending_ = true;
            break;
        case TrayService::MouseEvent::LeftRelease: {
            // Only the release that ends a double-click opens the window.
            if (!doubleClickPending_) {
                break;
            }
            doubleClickPending_ = false;
            openByDefault();
            break;
        }
        case TrayService::MouseEvent::Activate:
            openByDefault();
            break;
        case TrayService::MouseEvent::RightRelease: {
            link_.raise();
            const int chosen = service_.popUpMenu(openText_, kOpenUtilityWindow, exitText_, kExit,
                                                  defaultCommand());
            if (chosen != kNoCommand) {
                link_.post(chosen);
            }
            break;
        }
        case TrayService::MouseEvent::Other:
            break;
    }
}

}  // namespace rizorivu
