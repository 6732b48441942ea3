#include "qt/GroupBoxBinding.h"

#include "qt/ControlState.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

GroupBoxBinding::GroupBoxBinding(ui::GroupBox& model, QWidget* parent)
    : model_(model),
      widget_(new QGroupBox(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setTitle(toQString(model_.text()));
    applyControlState(*widget_, model_);
}

void GroupBoxBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Text:
            widget_->setTitle(toQString(model_.text()));
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
