#include "qt/ReportListWidget.h"

#include <QKeyEvent>

namespace rizorivu::qt {

void ReportListWidget::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The row with the focus frame, selected or not: the one the keyboard user is on.
    if (plain && enter && currentItem() != nullptr) {
        event->accept();
        Q_EMIT enterPressed(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace rizorivu::qt
