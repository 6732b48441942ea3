#include "qt/TextFieldBinding.h"

#include <QSignalBlocker>
#include <algorithm>

#include "qt/ControlState.h"
#include "qt/QtText.h"

namespace rizorivu::qt {

namespace {

// QLineEdit's own "no limit".
constexpr int kWidgetNoLimit = 32767;

}  // namespace

TextFieldBinding::TextFieldBinding(ui::TextField& model, QWidget* parent,
                                   std::function<void()> onEdited)
    : model_(model),
      onEdited_(std::move(onEdited)),
      widget_(new QLineEdit(parent)),
      subscription_(model, [this](ui::Change change) { repaint(change); }) {
    widget_->setReadOnly(model_.readOnly());
    showMaxLength();
    showText();
    applyControlState(*widget_, model_);
    QObject::connect(widget_, &QLineEdit::textEdited, widget_, [this](const QString& text) {
        // Read before the model's repaint puts the caret where the model last had it.
        const std::size_t caret = codePointOffset(text, widget_->cursorPosition());
        model_.setText(toStdString(text));
        model_.setCaret(caret);
        if (onEdited_) {
            onEdited_();
        }
    });
}

void TextFieldBinding::showText() {
    const QString text = toQString(model_.text());
    // A longer text than the limit must still show whole: the limit binds only the user.
    showMaxLength();
    if (widget_->text() != text) {
        const QSignalBlocker blocker(widget_.data());
        widget_->setText(text);
    }
    showCaret();
}

void TextFieldBinding::showMaxLength() {
    const int limit =
        model_.maxLength() == ui::TextField::kNoLimit
            ? kWidgetNoLimit
            : static_cast<int>(std::min<std::size_t>(model_.maxLength(), kWidgetNoLimit));
    const int shown = static_cast<int>(toQString(model_.text()).size());
    widget_->setMaxLength(std::max(limit, shown));
}

void TextFieldBinding::showCaret() {
    const QSignalBlocker blocker(widget_.data());
    widget_->setCursorPosition(static_cast<int>(utf16Offset(widget_->text(), model_.caret())));
}

void TextFieldBinding::repaint(ui::Change change) {
    if (!widget_) {
        return;
    }
    switch (change) {
        case ui::Change::Text:
            showText();
            break;
        case ui::Change::ReadOnly:
            widget_->setReadOnly(model_.readOnly());
            break;
        case ui::Change::MaxLength:
            showMaxLength();
            break;
        case ui::Change::Caret:
            showCaret();
            break;
        default:
            applyControlChange(*widget_, model_, change);
            break;
    }
}

}  // namespace rizorivu::qt
