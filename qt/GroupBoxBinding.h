#pragma once

#include <QGroupBox>
#include <QPointer>

#include "qt/ModelSubscription.h"
#include "ui/GroupBox.h"

namespace rizorivu::qt {

// Shows a group box model as the frame of a QGroupBox; the view lays the members inside.
class GroupBoxBinding {
public:
    GroupBoxBinding(ui::GroupBox& model, QWidget* parent);
    GroupBoxBinding(const GroupBoxBinding&) = delete;
    GroupBoxBinding& operator=(const GroupBoxBinding&) = delete;

    QGroupBox* widget() const { return widget_; }

private:
    void repaint(ui::Change change);

    ui::GroupBox& model_;
    QPointer<QGroupBox> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
