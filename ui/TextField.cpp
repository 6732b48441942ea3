#include "ui/TextField.h"

#include <algorithm>

#include "platform/Unicode.h"

namespace rizorivu::ui {

void TextField::setReadOnly(bool readOnly) {
    if (readOnly_ == readOnly) {
        return;
    }
    readOnly_ = readOnly;
    notify(Change::ReadOnly);
}

void TextField::setMaxLength(std::size_t maxLength) {
    if (maxLength_ == maxLength) {
        return;
    }
    maxLength_ = maxLength;
    notify(Change::MaxLength);
}

void TextField::setCaret(std::size_t position) {
    position = std::min(position, length());
    if (caret_ == position) {
        return;
    }
    caret_ = position;
    notify(Change::Caret);
}

void TextField::textChanged() {
    // A shorter text must not leave the caret behind its end.
    setCaret(caret_);
}

std::size_t TextField::length() const {
    return utf8Length(text());
}

}  // namespace rizorivu::ui
