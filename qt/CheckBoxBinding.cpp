#include "qt/CheckBoxBinding.h"

#include <QSignalBlocker>

#include "qt/ControlState.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

CheckBoxBinding::CheckBoxBinding(ui::CheckBox& model, QWidget* parent,
                                 std::function<void()> onToggled)
    : model_(model),
      onToggled_(std::move(onToggled)),
      widget_(new QCheckBox(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setText(toQString(model_.text()));
    showChecked();
    applyControlState(*widget_, model_);
    // clicked, not toggled: setChecked from the model emits toggled too.
    QObject::connect(widget_, &QCheckBox::clicked, widget_, [this](bool checked) {
        model_.setChecked(checked);
        if (onToggled_) {
            onToggled_();
        }
    });
}

void CheckBoxBinding::showChecked() {
    const QSignalBlocker blocker(widget_.data());
    widget_->setChecked(model_.checked());
}

void CheckBoxBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Text:
            widget_->setText(toQString(model_.text()));
            break;
        case ui::Change::Checked:
            showChecked();
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
