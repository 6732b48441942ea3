#include "ui/Observable.h"

#include <algorithm>

namespace rizorivu::ui {

Observable::Subscription Observable::subscribe(Listener listener) {
    const Subscription id = nextId_++;
    listeners_.push_back({id, std::move(listener)});
    return id;
}

void Observable::unsubscribe(Subscription id) {
    for (auto& entry : listeners_) {
        if (entry.id == id) {
            // Only blanked here: a notification in progress may be walking the list.
            entry.listener = nullptr;
        }
    }
    if (notifying_ == 0) {
        std::erase_if(listeners_, [](const Entry& e) { return !e.listener; });
    }
}

void Observable::notify(Change change) {
    ++notifying_;
    // By index and up to the size at entry: listeners added meanwhile wait for the next change.
    const std::size_t count = listeners_.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (listeners_[i].listener) {
            // A copy, so that a listener that unsubscribes itself does not destroy its own
            // closure while it runs.
            const Listener listener = listeners_[i].listener;
            listener(change);
        }
    }
    if (--notifying_ == 0) {
        std::erase_if(listeners_, [](const Entry& e) { return !e.listener; });
    }
}

}  // namespace rizorivu::ui
