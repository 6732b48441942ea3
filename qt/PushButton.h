#pragma once

#include <QPushButton>

namespace rizorivu::qt {

// A dialog's push button. While it has the focus, Enter presses it as Space does, whichever
// button is the dialog's default: the keyboard user pressed what the focus frame shows.
class PushButton final : public QPushButton {
    Q_OBJECT

public:
    explicit PushButton(QWidget* parent) : QPushButton(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace rizorivu::qt
