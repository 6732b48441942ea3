#pragma once

#include "qt/ButtonBinding.h"
#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/TextFieldBinding.h"
#include "ui/wpa/WpaSettingsDialog.h"

namespace rizorivu::qt {

// The WPA credentials: method, user name and password in the connection frame, the
// passphrase in the pre-shared key frame, the certificate, the WEP key frame, and the state
// button below. Password and passphrase show mask characters only.
class WpaSettingsView final : public DialogView {
public:
    WpaSettingsView(ui::WpaSettingsDialog& model, QWidget* parent);

    QComboBox* methodList() const { return methodList_.widget(); }
    QLineEdit* userNameField() const { return userNameField_.widget(); }
    QLineEdit* passwordField() const { return passwordField_.widget(); }
    QLineEdit* passphraseField() const { return passphraseField_.widget(); }
    QComboBox* certificateList() const { return certificateList_.widget(); }
    QPushButton* stateButton() const { return stateButton_.widget(); }

private:
    void layOut();

    ui::WpaSettingsDialog& model_;
    GroupBoxBinding connectionFrame_;
    LabelBinding methodLabel_;
    DropDownListBinding methodList_;
    LabelBinding userNameLabel_;
    TextFieldBinding userNameField_;
    LabelBinding passwordLabel_;
    TextFieldBinding passwordField_;
    GroupBoxBinding presharedFrame_;
    LabelBinding passphraseLabel_;
    TextFieldBinding passphraseField_;
    LabelBinding passphraseHint_;
    GroupBoxBinding certificateFrame_;
    DropDownListBinding certificateList_;
    GroupBoxBinding wepFrame_;
    ButtonBinding wepKeyButton_;
    ButtonBinding stateButton_;
};

}  // namespace rizorivu::qt
