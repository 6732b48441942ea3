#include "qt/LabelBinding.h"

#include "qt/ControlState.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

LabelBinding::LabelBinding(ui::Label& model, QWidget* parent)
    : model_(model),
      widget_(new QLabel(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setTextFormat(Qt::PlainText);
    widget_->setText(toQString(model_.text()));
    applyControlState(*widget_, model_);
}

void LabelBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Text:
            widget_->setText(toQString(model_.text()));
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
