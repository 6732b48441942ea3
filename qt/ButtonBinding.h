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
    // Whether a button whose model has no caption is drawn. A view hides it where an empty
    // caption means the button has no use in that view, so that no blank button is left.
    enum class Captionless { Shown, Hidden };

    ButtonBinding(ui::Button& model, QWidget* parent, std::function<void()> onPressed,
                  Captionless captionless = Captionless::Shown);
    ButtonBinding(const ButtonBinding&) = delete;
    ButtonBinding& operator=(const ButtonBinding&) = delete;

    QPushButton* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showVisible();

    ui::Button& model_;
    std::function<void()> onPressed_;
    Captionless captionless_;
    QPointer<QPushButton> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
