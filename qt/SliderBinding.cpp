#include "qt/SliderBinding.h"

#include <QSignalBlocker>

#include "qt/ControlState.h"

namespace rizorivu::qt {

SliderBinding::SliderBinding(ui::Slider& model, QWidget* parent, std::function<void()> onMoved)
    : model_(model),
      onMoved_(std::move(onMoved)),
      widget_(new QSlider(Qt::Horizontal, parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setTickPosition(QSlider::TicksBelow);
    widget_->setSingleStep(1);
    showRange();
    applyControlState(*widget_, model_);
    // Every repaint sets the value with signals blocked, so a value change here is the user's.
    QObject::connect(widget_, &QSlider::valueChanged, widget_, [this](int value) {
        model_.setPosition(value);
        if (onMoved_) {
            onMoved_();
        }
    });
}

void SliderBinding::showRange() {
    {
        const QSignalBlocker blocker(widget_.data());
        widget_->setRange(model_.minimum(), model_.maximum());
        widget_->setPageStep(model_.pageSize());
        widget_->setTickInterval(model_.tickSpacing());
    }
    showPosition();
}

void SliderBinding::showPosition() {
    const QSignalBlocker blocker(widget_.data());
    widget_->setValue(model_.position());
}

void SliderBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Range:
            showRange();
            break;
        case ui::Change::Position:
            showPosition();
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
