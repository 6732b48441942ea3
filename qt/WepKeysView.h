#pragma once

#include <array>
#include <memory>

#include "qt/ButtonBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/RadioGroupBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/station/WepKeysDialog.h"

namespace rizorivu::qt {

// The WEP keys: length, transmit key and format above the four key fields, the state button
// below, all inside one frame.
class WepKeysView final : public DialogView {
public:
    WepKeysView(ui::WepKeysDialog& model, QWidget* parent);

    QRadioButton* lengthButton(int index) const { return lengthRadios_.button(index); }
    QRadioButton* formatButton(int index) const { return formatRadios_.button(index); }
    QLineEdit* keyField(int index) const { return keyFields_.at(index)->widget(); }
    QPushButton* stateButton() const { return stateButton_.widget(); }

private:
    using KeyLabels = std::array<std::unique_ptr<LabelBinding>, ui::WepKeysDialog::kKeys>;
    using KeyFields = std::array<std::unique_ptr<TextFieldBinding>, ui::WepKeysDialog::kKeys>;

    void layOut();

    ui::WepKeysDialog& model_;
    GroupBoxBinding frame_;
    LabelBinding lengthLabel_;
    RadioGroupBinding lengthRadios_;
    LabelBinding transmitKeyLabel_;
    DropDownListBinding transmitKeyList_;
    LabelBinding formatLabel_;
    RadioGroupBinding formatRadios_;
    LabelBinding valueLabel_;
    KeyLabels keyLabels_;
    KeyFields keyFields_;
    ButtonBinding stateButton_;
};

}  // namespace rizorivu::qt
