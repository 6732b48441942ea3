#pragma once

#include <QPointer>
#include <QRadioButton>
#include <functional>
#include <vector>

#include "qt/ModelSubscription.h"
#include "ui/RadioGroup.h"

namespace rizorivu::qt {

// One QRadioButton per button of the group, all children of `parent`; the view lays them
// out. The user's click selects the button in the model and then calls `onChosen`. The model
// decides which button shows checked, so "none chosen" can be shown as well.
class RadioGroupBinding {
public:
    RadioGroupBinding(ui::RadioGroup& model, QWidget* parent, std::function<void()> onChosen);
    RadioGroupBinding(const RadioGroupBinding&) = delete;
    RadioGroupBinding& operator=(const RadioGroupBinding&) = delete;

    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int index) const { return buttons_.at(index); }

private:
    void repaint(ui::Change change);
    void showButtons();
    void showSelection();

    ui::RadioGroup& model_;
    std::function<void()> onChosen_;
    std::vector<QPointer<QRadioButton>> buttons_;
    ModelSubscription subscription_;
};

}  // namespace rizorivu::qt
