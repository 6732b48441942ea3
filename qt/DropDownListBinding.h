#pragma once

#include <QComboBox>
#include <QPointer>
#include <functional>

#include "qt/ModelSubscription.h"
#include "ui/DropDownList.h"

namespace rizorivu::qt {

// A drop-down list in a QComboBox. The user's pick selects the item in the model and then
// calls `onPicked`; typing into an editable list goes into the model as its edit text and then
// calls `onTyped`. The model's own changes (items, selection, text) only repaint.
class DropDownListBinding {
public:
    DropDownListBinding(ui::DropDownList& model, QWidget* parent, std::function<void()> onPicked,
                        std::function<void()> onTyped = nullptr);
    DropDownListBinding(const DropDownListBinding&) = delete;
    DropDownListBinding& operator=(const DropDownListBinding&) = delete;

    QComboBox* widget() const { return widget_; }

private:
    void repaint(ui::Change change);
    void showItems();
    void showSelection();
    void showEditText();

    ui::DropDownList& model_;
    std::function<void()> onPicked_;
    std::function<void()> onTyped_;
    QPointer<QComboBox> widget_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
