#pragma once

#include <cstddef>

#include "ui/Control.h"

namespace rizorivu::ui {

// A single-line text field; its text is the contents. The length limit binds what the user can
// type, not what the program sets (as in the window system), so a dialog that must cut a value
// cuts it itself. Lengths and the caret count characters (code points) of the UTF-8 text.
class TextField final : public Control {
public:
    static constexpr std::size_t kNoLimit = 0;

    bool readOnly() const { return readOnly_; }
    std::size_t maxLength() const { return maxLength_; }
    // Caret position with an empty selection, 0 .. length of the text.
    std::size_t caret() const { return caret_; }

    void setReadOnly(bool readOnly);
    void setMaxLength(std::size_t maxLength);
    // Clamped to the length of the text.
    void setCaret(std::size_t position);

private:
    void textChanged() override;
    std::size_t length() const;

    bool readOnly_ = false;
    std::size_t maxLength_ = kNoLimit;
    std::size_t caret_ = 0;
};

}  // namespace rizorivu::ui
