#include "qt/PushButton.h"

#include <QKeyEvent>

namespace rizorivu::qt {

void PushButton::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->accept();
        if (isEnabled()) {
            click();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace rizorivu::qt
