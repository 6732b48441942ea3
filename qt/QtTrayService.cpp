#include "qt/QtTrayService.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "qt/QtText.h"

namespace rizorivu::qt {

QtTrayService::QtTrayService(bool singleActivation)
    : singleActivation_(singleActivation),
      openAction_(menu_.addAction(QString())),
      exitAction_(menu_.addAction(QString())) {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
    activation_.setSingleShot(true);
    QObject::connect(&activation_, &QTimer::timeout, &icon_,
                     [this] { deliver(MouseEvent::Activate); });
    QObject::connect(openAction_, &QAction::triggered, &icon_, [this] { choose(openCommand_); });
    QObject::connect(exitAction_, &QAction::triggered, &icon_, [this] { choose(exitCommand_); });
    // Set before the icon is shown, so that a StatusNotifierItem host gets the menu exported.
    icon_.setContextMenu(&menu_);
}

int QtTrayService::activationDelayMs() const {
    return QApplication::doubleClickInterval();
}

void QtTrayService::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            activation_.stop();
            deliver(MouseEvent::LeftDoubleClick);
            deliver(MouseEvent::LeftRelease);
            break;
        case QSystemTrayIcon::Trigger:
            if (singleActivation_) {
                activation_.start(activationDelayMs());
            }
            break;
        case QSystemTrayIcon::MiddleClick:
            deliver(MouseEvent::Other);
            break;
        case QSystemTrayIcon::Context:
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

void QtTrayService::setMenu(const std::string& openText, int openCommand,
                            const std::string& exitText, int exitCommand, int defaultCommand) {
    openAction_->setText(toQString(openText));
    exitAction_->setText(toQString(exitText));
    openCommand_ = openCommand;
    exitCommand_ = exitCommand;
    // The default item shows bold.
    menu_.setDefaultAction(defaultCommand == openCommand   ? openAction_
                           : defaultCommand == exitCommand ? exitAction_
                                                           : nullptr);
}

void QtTrayService::setMenuHandler(std::function<void(int)> handler) {
    menuHandler_ = std::move(handler);
}

void QtTrayService::choose(int command) {
    if (menuHandler_ && command != 0) {
        menuHandler_(command);
    }
}

}  // namespace rizorivu::qt
