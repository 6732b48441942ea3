#include "qt/ProgressBarBinding.h"

#include "qt/ControlState.h"

namespace rizorivu::qt {

ProgressBarBinding::ProgressBarBinding(ui::ProgressBar& model, QWidget* parent)
    : model_(model),
      widget_(new QProgressBar(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setTextVisible(false);
    widget_->setRange(model_.minimum(), model_.maximum());
    widget_->setValue(model_.position());
    applyControlState(*widget_, model_);
}

void ProgressBarBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Range:
            widget_->setRange(model_.minimum(), model_.maximum());
            widget_->setValue(model_.position());
            break;
        case ui::Change::Position:
            widget_->setValue(model_.position());
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
