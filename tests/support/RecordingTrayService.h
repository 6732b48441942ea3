#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/TrayService.h"

namespace rizorivu::testing {

// A notification area for tests: it records what the utility asked of it, answers the menu
// with a scripted choice and lets the test play the user's mouse.
class RecordingTrayService final : public TrayService {
public:
    struct Menu {
        std::string openText;
        int openCommand;
        std::string exitText;
        int exitCommand;
        int defaultCommand;
    };

    // Whether the desktop has a notification area, and whether it takes the icon.
    bool hasNotificationArea = true;
    bool acceptsIcon = true;
    // What the user picks from the next menus; 0 picks nothing.
    int menuChoice = 0;

    // What the user sees.
    bool shown = false;
    int shownIcon = -1;
    std::string shownTooltip;
    // Every picture change and every menu, in order.
    std::vector<int> iconHistory;
    std::vector<Menu> menus;
    // The menu the area holds for showing by itself, as last given.
    Menu standingMenu{};
    int adds = 0;
    int removes = 0;

    // The user's mouse on the icon.
    void mouse(MouseEvent event) {
        if (handler_) {
            handler_(event);
        }
    }
    void doubleClick() {
        mouse(MouseEvent::LeftDoubleClick);
        mouse(MouseEvent::LeftRelease);
    }
    bool hasMouseHandler() const { return static_cast<bool>(handler_); }
    // The user picks `command` from the menu the area shows by itself.
    void chooseFromStandingMenu(int command) {
        if (menuHandler_) {
            menuHandler_(command);
        }
    }
    bool hasMenuHandler() const { return static_cast<bool>(menuHandler_); }

    bool available() const override { return hasNotificationArea; }
    bool add(int iconIndex, const std::string& tooltip) override {
        ++adds;
        if (!hasNotificationArea || !acceptsIcon) {
            return false;
        }
        shown = true;
        show(iconIndex);
        shownTooltip = tooltip;
        return true;
    }
    void setIcon(int iconIndex) override {
        if (shown) {
            show(iconIndex);
        }
    }
    void setTooltip(const std::string& tooltip) override {
        if (shown) {
            shownTooltip = tooltip;
        }
    }
    void remove() override {
        ++removes;
        shown = false;
    }
    int popUpMenu(const std::string& openText, int openCommand, const std::string& exitText,
                  int exitCommand, int defaultCommand) override {
        menus.push_back(Menu{openText, openCommand, exitText, exitCommand, defaultCommand});
        return menuChoice;
    }
    void setMouseHandler(std::function<void(MouseEvent)> handler) override {
        handler_ = std::move(handler);
    }
    void setMenu(const std::string& openText, int openCommand, const std::string& exitText,
                 int exitCommand, int defaultCommand) override {
        standingMenu = Menu{openText, openCommand, exitText, exitCommand, defaultCommand};
    }
    void setMenuHandler(std::function<void(int)> handler) override {
        menuHandler_ = std::move(handler);
    }

private:
    void show(int iconIndex) {
        shownIcon = iconIndex;
        iconHistory.push_back(iconIndex);
    }

    std::function<void(MouseEvent)> handler_;
    std::function<void(int)> menuHandler_;
};

}  // namespace rizorivu::testing
