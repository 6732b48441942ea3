#pragma once

#include "qt/DialogView.h"
#include "qt/DropDownListBinding.h"
#include "qt/GroupBoxBinding.h"
#include "qt/LabelBinding.h"
#include "qt/RadioGroupBinding.h"
#include "qt/SliderBinding.h"
#include "ui/station/AdvancedSettingsDialog.h"

namespace rizorivu::qt {

// The advanced settings: language, power consumption, country roaming and the two threshold
// sliders, each in its own frame. Every choice acts at once; there is no OK button.
class AdvancedSettingsView final : public DialogView {
public:
    AdvancedSettingsView(ui::AdvancedSettingsDialog& model, QWidget* parent);

    QComboBox* languageList() const { return languageList_.widget(); }
    QComboBox* regionList() const { return regionList_.widget(); }
    QRadioButton* powerButton(int index) const { return powerRadios_.button(index); }
    QRadioButton* roamingButton(int index) const { return roamingRadios_.button(index); }
    QSlider* fragmentationSlider() const { return fragmentationSlider_.widget(); }
    QSlider* rtsSlider() const { return rtsSlider_.widget(); }
    QLabel* rtsValue() const { return rtsValue_.widget(); }

private:
    void layOut();

    ui::AdvancedSettingsDialog& model_;
    GroupBoxBinding languageGroup_;
    LabelBinding languageLabel_;
    DropDownListBinding languageList_;
    GroupBoxBinding powerGroup_;
    RadioGroupBinding powerRadios_;
    GroupBoxBinding roamingGroup_;
    RadioGroupBinding roamingRadios_;
    DropDownListBinding regionList_;
    GroupBoxBinding fragmentationGroup_;
    SliderBinding fragmentationSlider_;
    LabelBinding fragmentationMinimum_;
    LabelBinding fragmentationMaximum_;
    LabelBinding fragmentationValue_;
    GroupBoxBinding rtsGroup_;
    SliderBinding rtsSlider_;
    LabelBinding rtsMinimum_;
    LabelBinding rtsMaximum_;
    LabelBinding rtsValue_;
};

}  // namespace rizorivu::qt
