#pragma once

#include <QCheckBox>
#include <QPointer>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/CheckBox.h"

namespace rizorivu::qt {

// A check box. A click by the user puts the new state into the model, then calls
// `onToggled`; the model's own changes only repaint.
class CheckBoxBinding {
public:
    CheckBoxBinding(ui::CheckBox& model, QWidget* parent, std::function<void()> onToggled);
    CheckBoxBinding(const CheckBoxBinding&) = delete;
    CheckBoxBinding& operator=(const CheckBoxBinding&) = delete;

    QCheckBox* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showChecked();

    ui::CheckBox& model_;
    std::function<void()> onToggled_;
    QPointer<QCheckBox> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
