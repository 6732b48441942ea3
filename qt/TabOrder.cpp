#include "qt/TabOrder.h"

#include <QWidget>

namespace rizorivu::qt {

void setTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

}  // namespace rizorivu::qt
