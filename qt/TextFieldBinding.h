#pragma once

#include <QLineEdit>
#include <QPointer>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/TextField.h"

namespace rizorivu::qt {

// A single-line text field. The user's typing goes into the model (text, then caret) before
// `onEdited` runs; the model's own changes only repaint.
class TextFieldBinding {
public:
    TextFieldBinding(ui::TextField& model, QWidget* parent, std::function<void()> onEdited);
    TextFieldBinding(const TextFieldBinding&) = delete;
    TextFieldBinding& operator=(const TextFieldBinding&) = delete;

    QLineEdit* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showText();
    void showMaxLength();
    void showCaret();

    ui::TextField& model_;
    std::function<void()> onEdited_;
    QPointer<QLineEdit> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
