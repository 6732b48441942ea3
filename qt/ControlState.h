#pragma once

#include <QWidget>

#include "ui/Control.h"

namespace rizorivu::qt {

// What every control shares: enabled and visible. A widget hidden by its model stays hidden
// when its window shows, and comes back with the window when the model shows it again.
inline void applyEnabled(QWidget& widget, const ui::Control& model) {
    widget.setEnabled(model.enabled());
}

inline void applyVisible(QWidget& widget, const ui::Control& model) {
    widget.setHidden(!model.visible());
}

inline void applyControlState(QWidget& widget, const ui::Control& model) {
    applyEnabled(widget, model);
    applyVisible(widget, model);
}

// Repaints the shared part of a change; every binder passes the changes it does not handle
// itself here.
inline void applyControlChange(QWidget& widget, const ui::Control& model, ui::Change change) {
    if (change == ui::Change::Enabled) {
        applyEnabled(widget, model);
    } else if (change == ui::Change::Visible) {
        applyVisible(widget, model);
    }
}

}  // namespace rizorivu::qt
