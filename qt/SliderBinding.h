#pragma once

#include <QPointer>
#include <QSlider>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/Slider.h"

namespace rizorivu::qt {

// A horizontal QSlider. The user's moves (drag, keys, clicks beside the thumb) put the new
// position into the model and then call `onMoved`; the model's own changes only repaint.
class SliderBinding {
public:
    SliderBinding(ui::Slider& model, QWidget* parent, std::function<void()> onMoved);
    SliderBinding(const SliderBinding&) = delete;
    SliderBinding& operator=(const SliderBinding&) = delete;

    QSlider* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showRange();
    void showPosition();

    ui::Slider& model_;
    std::function<void()> onMoved_;
    QPointer<QSlider> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
