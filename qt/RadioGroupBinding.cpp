#include "qt/RadioGroupBinding.h"

#include <QSignalBlocker>

#include "qt/QtText.h"

namespace rizorivu::qt {

RadioGroupBinding::RadioGroupBinding(ui::RadioGroup& model, QWidget* parent,
                                     std::function<void()> onChosen)
    : model_(model),
      onChosen_(std::move(onChosen)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    for (int i = 0; i < model_.count(); ++i) {
        auto* button = new QRadioButton(parent);
        // Exclusivity is the model's: a group may have no button chosen.
        button->setAutoExclusive(false);
        QObject::connect(button, &QRadioButton::clicked, button, [this, i] {
            model_.select(i);
            // A click on the chosen button unchecked the widget but changed nothing in the model.
            showSelection();
            if (onChosen_) {
                onChosen_();
            }
        });
        buttons_.emplace_back(button);
    }
    showButtons();
    showSelection();
}

void RadioGroupBinding::showButtons() {
    for (int i = 0; i < count(); ++i) {
        if (QRadioButton* button = buttons_[i]) {
            const ui::RadioGroup::RadioButton& state = model_.button(i);
            button->setText(toQString(state.text));
            button->setEnabled(state.enabled);
            button->setHidden(!state.visible);
        }
    }
}

void RadioGroupBinding::showSelection() {
    for (int i = 0; i < count(); ++i) {
        if (QRadioButton* button = buttons_[i]) {
            const QSignalBlocker blocker(button);
            button->setChecked(i == model_.selected());
        }
    }
}

void RadioGroupBinding::repaint(ui::Change change) {
    if (change == ui::Change::Buttons) {
        showButtons();
    } else if (change == ui::Change::Selection) {
        showSelection();
    }
}

}  // namespace rizorivu::qt
