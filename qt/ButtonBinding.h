#pragma once

#include <QPointer>
#include <QPushButton>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/Button.h"

namespace rizorivu::qt {

// A push button: the model gives caption, enabling and visibility; the user's press calls
// `onPressed`. Buttons are never a dialog's default button: what Enter does is the dialog's.
class ButtonBinding {
public:
    ButtonBinding(ui::Button& model, QWidget* parent, std::function<void()> onPressed);
    ButtonBinding(const ButtonBinding&) = delete;
    ButtonBinding& operator=(const ButtonBinding&) = delete;

    QPushButton* widget() const { return widget_; }

private:
    void repaint(ui::Change change);

    ui::Button& model_;
    std::function<void()> onPressed_;
    QPointer<QPushButton> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
