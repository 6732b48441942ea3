#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <string>

#include "qt/StatusIcons.h"
#include "qt/StatusNotifierHost.h"
#include "ui/TrayService.h"

namespace rizorivu::qt {

// The notification area through QSystemTrayIcon. Qt reports activations, not the button
// messages the tray logic was written for, so they are translated:
//   double click  -> LeftDoubleClick, then LeftRelease (the release that follows the second
//                    click, which is where the logic acts: exactly one command results);
//   single click  -> nothing on an area that can double-click (Qt reports it before a double
//                    click, too). An area that cannot (a StatusNotifierItem host) reports only
//                    this one activation: it becomes Activate once the double-click interval
//                    has passed without a double click;
//   context click -> nothing: the menu is Qt's context menu, which an XEmbed tray pops up and
//                    a StatusNotifierItem host is given over D-Bus; a choice from it reaches
//                    the menu handler;
//   middle click  -> Other.
class QtTrayService final : public TrayService {
public:
    // `singleActivation`: the area reports one activation and never a double-click.
    explicit QtTrayService(bool singleActivation = StatusNotifierHost::registered());
    QtTrayService(const QtTrayService&) = delete;
    QtTrayService& operator=(const QtTrayService&) = delete;

    // Called for the icon's activations; public so that the translation can be driven
    // without a notification area.
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon& systemTrayIcon() { return icon_; }
    QMenu& menu() { return menu_; }
    // The single activation waits this long for a double click (the desktop's interval).
    int activationDelayMs() const;
    const StatusIcons& icons() const { return icons_; }
    int iconIndex() const { return iconIndex_; }

    // --- TrayService
    bool available() const override;
    bool add(int iconIndex, const std::string& tooltip) override;
    void setIcon(int iconIndex) override;
    void setTooltip(const std::string& tooltip) override;
    void remove() override;
    int popUpMenu(const std::string& openText, int openCommand, const std::string& exitText,
                  int exitCommand, int defaultCommand) override;
    void setMouseHandler(std::function<void(MouseEvent)> handler) override;
    void setMenu(const std::string& openText, int openCommand, const std::string& exitText,
                 int exitCommand, int defaultCommand) override;
    void setMenuHandler(std::function<void(int)> handler) override;

private:
    void deliver(MouseEvent event);
    void choose(int command);

    bool singleActivation_;
    QTimer activation_;
    QMenu menu_;
    QAction* openAction_;
    QAction* exitAction_;
    int openCommand_ = 0;
    int exitCommand_ = 0;
    std::function<void(int)> menuHandler_;

    StatusIcons icons_;
    QSystemTrayIcon icon_;
    int iconIndex_ = 0;
    std::function<void(MouseEvent)> handler_;
};

}  // namespace rizorivu::qt
