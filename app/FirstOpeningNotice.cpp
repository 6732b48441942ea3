#include "app/FirstOpeningNotice.h"

namespace rizorivu {

void FirstOpeningNotice::forget(const ui::Dialog& dialog) {
    if (owner_ == &dialog) {
        owner_ = nullptr;
    }
    host_.forget(dialog);
}

void FirstOpeningNotice::showMainWindow() {
    host_.showMainWindow();
    if (notice_ && owner_ != nullptr) {
        // Taken before it is shown: the box runs nested, and a second opening meanwhile
        // must not show it again.
        const ui::MessageBox box = std::move(*notice_);
        notice_.reset();
        host_.showMessage(*owner_, box);
    }
}

}  // namespace rizorivu
