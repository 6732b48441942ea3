#include "qt/QtTrayService.h"

#include <QCursor>
#include <QMenu>

#include "qt/QtText.h"

namespace rizorivu::qt {

QtTrayService::QtTrayService() {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
}

void QtTrayService::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            deliver(MouseEvent::LeftDoubleClick);
            deliver(MouseEvent::LeftRelease);
            break;
        case QSystemTrayIcon::Context:
            deliver(MouseEvent::RightRelease);
            break;
        case QSystemTrayIcon::MiddleClick:
            deliver(MouseEvent::Other);
            break;
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::Unknown:
            break;
    }
}

void QtTrayService::deliver(MouseEvent event) {
    if (handler_) {
        handler_(event);
    }
}

bool QtTrayService::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayService::add(int iconIndex, const std::string& tooltip) {
    setIcon(iconIndex);
    setTooltip(tooltip);
    icon_.show();
    return icon_.isVisible();
}

void QtTrayService::setIcon(int iconIndex) {
    iconIndex_ = iconIndex;
    icon_.setIcon(icons_.icon(iconIndex));
}

void QtTrayService::setTooltip(const std::string& tooltip) {
    icon_.setToolTip(toQString(tooltip));
}

void QtTrayService::remove() {
    icon_.hide();
}

int QtTrayService::popUpMenu(const std::string& openText, int openCommand,
                             const std::string& exitText, int exitCommand, int defaultCommand) {
    QMenu menu;
    QAction* open = menu.addAction(toQString(openText));
    QAction* exit = menu.addAction(toQString(exitText));
    // The default item shows bold.
    if (defaultCommand == openCommand) {
        menu.setDefaultAction(open);
    } else if (defaultCommand == exitCommand) {
        menu.setDefaultAction(exit);
    }
    const QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == open) {
        return openCommand;
    }
    if (chosen == exit) {
        return exitCommand;
    }
    return 0;
}

void QtTrayService::setMouseHandler(std::function<void(MouseEvent)> handler) {
    handler_ = std::move(handler);
}

}  // namespace rizorivu::qt
