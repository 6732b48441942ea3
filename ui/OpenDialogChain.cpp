#include "ui/OpenDialogChain.h"

#include <bitset>

#include "ui/Dialog.h"
#include "ui/DialogHost.h"

namespace rizorivu::ui {

void OpenDialogChain::enter(Dialog& dialog) {
    if (hasSlot(dialog.code())) {
        slots_[toInt(dialog.code())] = &dialog;
    }
    top_ = dialog.code();
}

void OpenDialogChain::leave(const Dialog& dialog) {
    if (hasSlot(dialog.code()) && slots_[toInt(dialog.code())] == &dialog) {
        slots_[toInt(dialog.code())] = nullptr;
    }
}

Dialog* OpenDialogChain::slot(DialogCode code) const {
    return hasSlot(code) ? slots_[toInt(code)] : nullptr;
}

void OpenDialogChain::recaptionFrom(DialogCode start) {
    // Each slot once at most: parent codes are whatever openers stored, and a loop among
    // them must not hang the walk.
    std::bitset<kSlotCount> visited;
    for (DialogCode code = start; hasSlot(code) && !visited[toInt(code)];) {
        visited[toInt(code)] = true;
        Dialog* dialog = slot(code);
        if (dialog == nullptr) {
            return;
        }
        dialog->recaption();
        if (code == DialogCode::Main) {
            return;
        }
        code = dialog->parentCode();
    }
}

void OpenDialogChain::closeAll(DialogHost& host, AtMainWindow atMainWindow) {
    std::bitset<kSlotCount> visited;
    DialogCode code = top_;
    while (code != DialogCode::Main) {
        if (!hasSlot(code) || visited[toInt(code)]) {
            return;
        }
        visited[toInt(code)] = true;
        Dialog* dialog = slot(code);
        if (dialog == nullptr) {
            return;
        }
        dialog->end(DialogResult::Closed);
        code = dialog->parentCode();
    }
    if (atMainWindow == AtMainWindow::Hide) {
        host.hideMainWindow();
    } else if (Dialog* main = slot(DialogCode::Main)) {
        main->end(DialogResult::Closed);
    }
    top_ = DialogCode::Main;
}

bool OpenDialogChain::hasSlot(DialogCode code) {
    return toInt(code) >= 0 && toInt(code) < kSlotCount;
}

}  // namespace rizorivu::ui
