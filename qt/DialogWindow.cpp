#include "qt/DialogWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace rizorivu::qt {

DialogWindow::DialogWindow(QWidget* parent) : QDialog(parent) {
    // Every dialog sizes itself to its contents: the title bar offers minimise and close and
    // no maximise (nor help), whatever the window system would add on its own.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void DialogWindow::run(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}

void DialogWindow::accept() {
    run(behaviour_.onEnter);
}

void DialogWindow::reject() {
    run(behaviour_.onEscape);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                event->accept();
                run(behaviour_.onEnter);
                return;
            case Qt::Key_Escape:
                event->accept();
                run(behaviour_.onEscape);
                return;
            default:
                break;
        }
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The window goes only when its model ends; the host hides it then.
    event->ignore();
    if (event->spontaneous()) {
        if (behaviour_.onCloseBox) {
            behaviour_.onCloseBox(true);
        }
    } else {
        run(behaviour_.onCloseRequest);
    }
}

void DialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0) {
        // A window manager's key or menu may still ask: a fixed window stays as it is.
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        return;
    }
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !behaviour_.onMinimiseBox) {
        return;
    }
    // The model decides what minimising means. The window keeps its minimised state: the window
    // manager has just unmapped it, and changing the state now, before the toolkit has seen the
    // unmap, leaves a window that neither paints nor takes input once it is mapped again. The
    // host restores it when it shows the window again.
    behaviour_.onMinimiseBox(true);
}

}  // namespace rizorivu::qt
