#pragma once

#include <QDialog>
#include <functional>

namespace rizorivu::qt {

// The top-level window of one dialog. It never ends or hides itself: Enter, Escape, the close
// box and the minimise box are handed to the behaviour its view chose, and the dialog model
// ends its modal run through the host.
//
// Mouse or keyboard: the close and minimise boxes are drawn by the window manager, which tells
// the application only that the window is to close or be minimised. A spontaneous close event
// (title bar button, window menu, or the window manager's own Alt+F4 binding) is taken as made
// with the mouse, as is every minimise; these requests cannot be told apart here, and hiding
// is the safe reading because the tray icon brings the window back. A close event the program
// raised itself (QWidget::close) is a plain close request from outside.
//
// The dialogs have a fixed size, so the window neither offers nor takes a maximised state.
class DialogWindow : public QDialog {
    Q_OBJECT

public:
    struct Behaviour {
        // Null members swallow the event.
        std::function<void()> onEnter;
        std::function<void()> onEscape;
        std::function<void(bool fromMouse)> onCloseBox;
        std::function<void(bool fromMouse)> onMinimiseBox;
        std::function<void()> onCloseRequest;
    };

    explicit DialogWindow(QWidget* parent = nullptr);

    void setBehaviour(Behaviour behaviour) { behaviour_ = std::move(behaviour); }
    const Behaviour& behaviour() const { return behaviour_; }

    // Enter and Escape from a QDialog's own machinery (default buttons, reject on Escape)
    // arrive here too, and go the same way as the keys.
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static void run(const std::function<void()>& handler);

    Behaviour behaviour_;
};

}  // namespace rizorivu::qt
