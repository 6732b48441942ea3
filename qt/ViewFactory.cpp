#include "qt/ViewFactory.h"

namespace rizorivu::qt {

void ViewFactory::add(ui::DialogCode code, Creator creator) {
    creators_.insert_or_assign(code, std::move(creator));
}

std::unique_ptr<DialogView> ViewFactory::create(ui::Dialog& dialog, QWidget* parent) const {
    const auto found = creators_.find(dialog.code());
    return found == creators_.end() ? nullptr : found->second(dialog, parent);
}

}  // namespace rizorivu::qt
