#pragma once

#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "qt/StatusIcons.h"
#include "ui/TrayService.h"

namespace rizorivu::qt {

// The notification area through QSystemTrayIcon. Qt reports activations, not the button
// messages the tray logic was written for, so they are translated:
//   double click  -> LeftDoubleClick, then LeftRelease (the release that follows the second
//                    click, which is where the logic acts: exactly one command results);
//   single click  -> nothing (Qt may report it before a double click, too; the logic ignores a
//                    lone release anyway);
//   context click -> RightRelease (the logic pops the menu up);
//   middle click  -> Other.
class QtTrayService final : public TrayService {
public:
    QtTrayService();
    QtTrayService(const QtTrayService&) = delete;
    QtTrayService& operator=(const QtTrayService&) = delete;

    // Called for the icon's activations; public so that the translation can be driven
    // without a notification area.
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon& systemTrayIcon() { return icon_; }
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

private:
    void deliver(MouseEvent event);

    StatusIcons icons_;
    QSystemTrayIcon icon_;
    int iconIndex_ = 0;
    std::function<void(MouseEvent)> handler_;
};

}  // namespace rizorivu::qt
