#include "ui/CheckBox.h"

namespace rizorivu::ui {

void CheckBox::setChecked(bool checked) {
    if (checked_ == checked) {
        return;
    }
    checked_ = checked;
    notify(Change::Checked);
}

}  // namespace rizorivu::ui
