#pragma once

#include <QPointer>
#include <QProgressBar>

#include "qt/ModelSubscription.h"
#include "ui/ProgressBar.h"

namespace rizorivu::qt {

// A bar without text of its own: dialogs show the percentage in a field beside it.
class ProgressBarBinding {
public:
    ProgressBarBinding(ui::ProgressBar& model, QWidget* parent);
    ProgressBarBinding(const ProgressBarBinding&) = delete;
    ProgressBarBinding& operator=(const ProgressBarBinding&) = delete;

    QProgressBar* widget() const { return widget_; }

private:
    void repaint(ui::Change change);

    ui::ProgressBar& model_;
    QPointer<QProgressBar> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
