#pragma once

#include <functional>
#include <vector>

namespace rizorivu::ui {

// What part of a control model changed, so that a view can repaint only that part.
enum class Change {
    Text,
    Enabled,
    Visible,
    ReadOnly,
    MaxLength,
    Caret,
    Checked,
    Buttons,
    Items,
    Selection,
    Columns,
    Rows,
    Range,
    Position,
    Style,
};

// The observer list of a control model. Views subscribe to repaint; listeners run at once,
// after the new value is in place. A listener may subscribe or unsubscribe (itself or others)
// while it runs: an unsubscribed listener is not called again, a new one from the next change.
class Observable {
public:
    using Listener = std::function<void(Change)>;
    using Subscription = int;

    Observable() = default;
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    Subscription subscribe(Listener listener);
    void unsubscribe(Subscription id);

protected:
    ~Observable() = default;
    void notify(Change change);

private:
    struct Entry {
        Subscription id;
        Listener listener;
    };
    std::vector<Entry> listeners_;
    Subscription nextId_ = 1;
    int notifying_ = 0;
};

}  // namespace rizorivu::ui
