#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "qt/DialogWindow.h"
#include "qt/ModelSubscription.h"
#include "ui/Dialog.h"

namespace rizorivu::qt {

// The window of one dialog model, with the title bound. A dialog kind's view derives from it,
// creates its widgets inside window() and keeps their bindings as members (so that they go
// before the window does). Unless a view says otherwise, Enter runs the model's onOk and
// Escape, the close box and a close request its onCancel; minimising is left to the window
// manager.
class DialogView {
public:
    DialogView(ui::Dialog& dialog, QWidget* parent);
    virtual ~DialogView();
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    DialogWindow& window() const { return *window_; }
    ui::Dialog& dialog() const { return dialog_; }

private:
    ui::Dialog& dialog_;
    QPointer<DialogWindow> window_;
    ModelSubscription title_;
};

}  // namespace rizorivu::qt
