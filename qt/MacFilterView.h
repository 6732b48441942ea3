#pragma once

#include <array>
#include <memory>

#include "qt/ButtonBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/ap/MacFilterDialog.h"

namespace rizorivu::qt {

// The MAC address filter: the filter type above a frame of sixteen numbered address fields in
// two columns, Apply below.
class MacFilterView final : public DialogView {
public:
    MacFilterView(ui::MacFilterDialog& model, QWidget* parent);

    QComboBox* typeList() const { return typeList_.widget(); }
    QLineEdit* slotField(int slot) const { return slotFields_.at(slot)->widget(); }
    QPushButton* applyButton() const { return applyButton_.widget(); }

private:
    using SlotLabels = std::array<std::unique_ptr<LabelBinding>, ui::MacFilterDialog::kSlots>;
    using SlotFields = std::array<std::unique_ptr<TextFieldBinding>, ui::MacFilterDialog::kSlots>;

    void layOut();

    ui::MacFilterDialog& model_;
    LabelBinding typeLabel_;
    DropDownListBinding typeList_;
    GroupBoxBinding addressGroup_;
    SlotLabels slotLabels_;
    SlotFields slotFields_;
    ButtonBinding applyButton_;
};

}  // namespace rizorivu::qt
