#include "qt/DropDownListBinding.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "qt/ControlState.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

DropDownListBinding::DropDownListBinding(ui::DropDownList& model, QWidget* parent,
                                         std::function<void()> onPicked,
                                         std::function<void()> onTyped)
    : model_(model),
      onPicked_(std::move(onPicked)),
      onTyped_(std::move(onTyped)),
      widget_(new QComboBox(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setEditable(model_.editable());
    if (QLineEdit* edit = widget_->lineEdit()) {
        // The model's list is the only list: typing never adds an item.
        widget_->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(edit, &QLineEdit::textEdited, widget_, [this](const QString& text) {
            model_.setEditText(toStdString(text));
            if (onTyped_) {
                onTyped_();
            }
        });
    }
    showItems();
    applyControlState(*widget_, model_);
    // activated, not currentIndexChanged: only the user's pick counts.
    QObject::connect(widget_, &QComboBox::activated, widget_, [this](int index) {
        model_.select(index);
        if (onPicked_) {
            onPicked_();
        }
    });
}

void DropDownListBinding::showItems() {
    {
        const QSignalBlocker blocker(widget_.data());
        widget_->clear();
        for (const std::string& item : model_.items()) {
            widget_->addItem(toQString(item));
        }
    }
    showSelection();
}

void DropDownListBinding::showSelection() {
    {
        const QSignalBlocker blocker(widget_.data());
        widget_->setCurrentIndex(model_.selected());
    }
    showEditText();
}

void DropDownListBinding::showEditText() {
    QLineEdit* edit = widget_->lineEdit();
    if (edit == nullptr) {
        return;
    }
    const QString text = toQString(model_.text());
    if (edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void DropDownListBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Items:
            showItems();
            break;
        case ui::Change::Selection:
            showSelection();
            break;
        case ui::Change::Text:
            showEditText();
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
