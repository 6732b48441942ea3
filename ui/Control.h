#pragma once

#include <string>
#include <string_view>

#include "ui/Observable.h"

namespace rizorivu::ui {

// What every control has: a text (caption, or the contents of a field), and whether it is
// enabled and visible. Setters change the model and notify its observers; they never run a
// user handler. Setting the value a control already has notifies nobody.
class Control : public Observable {
public:
    const std::string& text() const { return text_; }
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }

    void setText(std::string_view text);
    void setEnabled(bool enabled);
    void setVisible(bool visible);

protected:
    Control() = default;
    ~Control() = default;
    // For kinds whose text change has consequences (a text field's caret).
    virtual void textChanged() {}

private:
    std::string text_;
    bool enabled_ = true;
    bool visible_ = true;
};

}  // namespace rizorivu::ui
