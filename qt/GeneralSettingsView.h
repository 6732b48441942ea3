#pragma once

#include "qt/ButtonBinding.h"
#include "qt/CheckBoxBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/station/GeneralSettingsDialog.h"

namespace rizorivu::qt {

// The general settings: the connection settings with their state button on top, then the
// WEP/WPA buttons, the profile row and the doors to the advanced settings and the
// information. Enter and Escape close it, applying nothing.
class GeneralSettingsView final : public DialogView {
public:
    GeneralSettingsView(ui::GeneralSettingsDialog& model, QWidget* parent);

    QComboBox* networkTypeList() const { return networkTypeList_.widget(); }
    QComboBox* channelList() const { return channelList_.widget(); }
    QLineEdit* ssidField() const { return ssidField_.widget(); }
    QPushButton* stateButton() const { return stateButton_.widget(); }
    QPushButton* wpaButton() const { return wpaButton_.widget(); }
    QComboBox* profileList() const { return profileList_.widget(); }
    QPushButton* informationButton() const { return informationButton_.widget(); }

private:
    void layOut();

    ui::GeneralSettingsDialog& model_;
    GroupBoxBinding settingsFrame_;
    LabelBinding networkTypeLabel_;
    DropDownListBinding networkTypeList_;
    LabelBinding channelLabel_;
    DropDownListBinding channelList_;
    LabelBinding rateLabel_;
    DropDownListBinding rateList_;
    LabelBinding ssidLabel_;
    TextFieldBinding ssidField_;
    CheckBoxBinding anyCheck_;
    LabelBinding encryptionLabel_;
    DropDownListBinding encryptionList_;
    LabelBinding authenticationLabel_;
    DropDownListBinding authenticationList_;
    ButtonBinding stateButton_;
    GroupBoxBinding encryptionFrame_;
    ButtonBinding wepKeysButton_;
    ButtonBinding wpaButton_;
    GroupBoxBinding profileFrame_;
    LabelBinding profileNameLabel_;
    DropDownListBinding profileList_;
    ButtonBinding loadButton_;
    ButtonBinding saveButton_;
    ButtonBinding deleteButton_;
    GroupBoxBinding otherFrame_;
    LabelBinding otherDescription_;
    ButtonBinding advancedButton_;
    ButtonBinding informationButton_;
};

}  // namespace rizorivu::qt
