#pragma once

#include "qt/ButtonBinding.h"
#include "qt/CheckBoxBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/SliderBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/ap/AccessPointSettingsDialog.h"

namespace rizorivu::qt {

// The access point's settings: the radio identity in a frame with its Change/Apply button,
// below it the controls that act at once, each on a label and value row.
class AccessPointSettingsView final : public DialogView {
public:
    AccessPointSettingsView(ui::AccessPointSettingsDialog& model, QWidget* parent);

    QComboBox* channelList() const { return channelList_.widget(); }
    QLineEdit* ssidField() const { return ssidField_.widget(); }
    QPushButton* stateButton() const { return stateButton_.widget(); }
    QSlider* rtsSlider() const { return rtsSlider_.widget(); }
    QLabel* rtsValue() const { return rtsValue_.widget(); }

private:
    void layOut();

    ui::AccessPointSettingsDialog& model_;
    GroupBoxBinding radioGroup_;
    LabelBinding channelLabel_;
    DropDownListBinding channelList_;
    LabelBinding basicRateLabel_;
    DropDownListBinding basicRateList_;
    LabelBinding ssidLabel_;
    TextFieldBinding ssidField_;
    CheckBoxBinding hideSsidCheck_;
    LabelBinding txPowerLabel_;
    DropDownListBinding txPowerList_;
    ButtonBinding stateButton_;
    LabelBinding wepLabel_;
    DropDownListBinding wepList_;
    ButtonBinding wepKeysButton_;
    LabelBinding authenticationLabel_;
    DropDownListBinding authenticationList_;
    LabelBinding fragmentationLabel_;
    SliderBinding fragmentationSlider_;
    LabelBinding fragmentationValue_;
    LabelBinding rtsLabel_;
    SliderBinding rtsSlider_;
    LabelBinding rtsValue_;
    LabelBinding preambleLabel_;
    DropDownListBinding preambleList_;
    LabelBinding macFilterLabel_;
    ButtonBinding macFilterButton_;
};

}  // namespace rizorivu::qt
