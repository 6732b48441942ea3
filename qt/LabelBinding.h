#pragma once

#include <QLabel>
#include <QPointer>

#include "qt/ModelSubscription.h"
#include "ui/Label.h"

namespace rizorivu::qt {

// Shows a label model in a QLabel (plain text, never rich text).
class LabelBinding {
public:
    LabelBinding(ui::Label& model, QWidget* parent);
    LabelBinding(const LabelBinding&) = delete;
    LabelBinding& operator=(const LabelBinding&) = delete;

    QLabel* widget() const { return widget_; }

private:
    void repaint(ui::Change change);

    ui::Label& model_;
    QPointer<QLabel> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
