#pragma once

#include <QPointer>
#include <QPushButton>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/Button.h"

namespace rizorivu::qt {

// A push button: the model gives caption, enabling, visibility and whether it is the dialog's
// default button (drawn as such); the user's press calls `onPressed`. Enter reaches the
// dialog's model, which presses its default button; a button that has the focus takes Enter
// itself.
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
