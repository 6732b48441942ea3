#include "ui/station/AdvancedSettingsDialog.h"

#include <string>

#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/station/AdvancedSettingsValues.h"
#include "ui/station/LanguageSwitch.h"

namespace rizorivu::ui {

namespace {

constexpr int kNoValue = -1;

bool isMultiDomainChoice(int capability) {
    return capability == AdvancedSettingsDialog::kUserSelect ||
           capability == AdvancedSettingsDialog::kWorldMode;
}

std::string numbered(std::string_view pattern, int n) {
    return std::string(pattern) + std::to_string(n);
}

}  // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog(SettingsContext& settings,
                                               const Configuration& configuration,
                                               const DialogEnvironment& environment,
                                               LanguageSwitch& languages)
    : Dialog(DialogCode::AdvancedSettings, environment),
      settings_(settings),
      configuration_(configuration),
      languages_(languages) {}

void AdvancedSettingsDialog::recaption() {
    title().setText(text("AS_Dialog_Title", "Advanced Setting..."));
    languageGroup.setText(text("BS_U_Sub_Title", "User Interface"));
    languageLabel.setText(text("BS_U_Language", "Language:"));
    powerGroup.setText(text("AS_Power_Consumption_Sub_Title", "Power Consumption Setting"));
    powerRadios.setButtonText(0, text("AS_Power_CAM", "Continuous Access Mode (CAM)."));
    powerRadios.setButtonText(1, text("AS_Power_Level_0", "Maximum Power-Saving Mode."));
    powerRadios.setButtonText(2, text("AS_Power_Level_1", "Fast Power-Saving Mode."));
    roamingGroup.setText(text("AS_Country_Roaming_Sub_Title", "Country Roaming"));
    roamingRadios.setButtonText(kWorldMode, text("AS_Country_Roaming_World_Mode", "World Mode"));
    roamingRadios.setButtonText(kUserSelect, text("AS_Country_Roaming_User_Select", "User Select"));
    fragmentationGroup.setText(text("AS_Fragment_Sub_Title", "Fragmentation Threshold"));
    rtsGroup.setText(text("AS_RTS_CTS_Sub_Title", "RTS / CTS Threshold"));
    fragmentationMinimum.setText(std::to_string(kFragmentationMinimum));
    fragmentationMaximum.setText(std::to_string(kFragmentationMaximum));
    rtsMinimum.setText(std::to_string(kRtsMinimum));
    rtsMaximum.setText(std::to_string(kRtsMaximum));

    const int languageRow = languageList.selected();
    languageList.setItems(texts().descriptions());
    languageList.select(languageRow);

    const int regionRow = regionList.selected();
    std::vector<std::string> countries;
    regionCodes_.clear();
    for (int n = 1;; ++n) {
        std::string country = text(numbered("AS_Country_Name_", n), "");
        if (country.empty()) {
            break;
        }
        countries.push_back(std::move(country));
        regionCodes_.push_back(regionCodeOfText(text(numbered("AS_Country_Region_Code_", n), "")));
    }
    regionCount_ = countries.empty() ? -1 : static_cast<int>(countries.size());
    regionList.setItems(std::move(countries));
    regionList.select(regionRow);

    showThresholdLabels();
}

void AdvancedSettingsDialog::onInitialise() {
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;
    const int region = library.QueryWL_OperationRegionCode(adapter);
    const int powerSave = library.QueryWL_PSMode(adapter);
    const int fragmentation = library.QueryWL_FragmentationThreshold(adapter);
    const int rts = library.QueryWL_RTS_CTS_Threshold(adapter);
    const int multiDomain = library.QueryWL_MultiDomainCapability(adapter);

    const bool roamingShown = configuration_.enable80211d != 0;
    roamingGroup.setVisible(roamingShown);
    roamingGroup.setEnabled(true);
    roamingRadios.setButtonVisible(kWorldMode, roamingShown);
    roamingRadios.setButtonVisible(kUserSelect, roamingShown);
    regionList.setVisible(roamingShown);

    roamingRadios.setButtonEnabled(kWorldMode, isMultiDomainChoice(multiDomain));
    const bool regionChoosable = isMultiDomainChoice(multiDomain) || region != kNoValue;
    roamingRadios.setButtonEnabled(kUserSelect, regionChoosable);
    regionList.setEnabled(regionChoosable);
    roamingIndex_ = regionChoosable ? (isMultiDomainChoice(multiDomain) ? multiDomain : 0) : -1;

    powerGroup.setEnabled(powerSave != kNoValue);
    powerRadios.setAllEnabled(powerSave != kNoValue);
    for (Control* control :
         {static_cast<Control*>(&fragmentationGroup), static_cast<Control*>(&fragmentationSlider),
          static_cast<Control*>(&fragmentationMinimum),
          static_cast<Control*>(&fragmentationMaximum),
          static_cast<Control*>(&fragmentationValue)}) {
        control->setEnabled(fragmentation != kNoValue);
    }
    for (Control* control : {static_cast<Control*>(&rtsGroup), static_cast<Control*>(&rtsSlider),
                             static_cast<Control*>(&rtsMinimum), static_cast<Control*>(&rtsMaximum),
                             static_cast<Control*>(&rtsValue)}) {
        control->setEnabled(rts != kNoValue);
    }

    // An empty language list has no row for "no current language".
    languageList.select(texts().current() >= 1 ? texts().current() - 1 : -1);

    regionList.select(-1);
    if (region != kNoValue) {
        for (std::size_t row = 0; row < regionCodes_.size(); ++row) {
            if (regionCodes_[row] == region) {
                regionList.select(static_cast<int>(row));
                break;
            }
        }
    }

    if (isMultiDomainChoice(multiDomain)) {
        roamingIndex_ = multiDomain;
        regionList.setEnabled(roamingIndex_ == kUserSelect);
    } else if (region != kNoValue) {
        roamingIndex_ = kUserSelect;
    }
    powerIndex_ = powerSave < 0 ? 0 : powerSave;

    fragmentationSlider.setRange(kFragmentationMinimum, kFragmentationMaximum);
    fragmentationSlider.setPageSize(kThresholdPageSize);
    fragmentationSlider.setTickSpacing(kThresholdTickSpacing);
    fragmentationSlider.setPosition(
        thresholdPosition(fragmentation, kFragmentationMinimum, kFragmentationMaximum));
    fragmentationUpdate();

    rtsSlider.setRange(kRtsMinimum, kRtsMaximum);
    rtsSlider.setPageSize(kThresholdPageSize);
    rtsSlider.setTickSpacing(kThresholdTickSpacing);
    rtsSlider.setPosition(thresholdPosition(rts, kRtsMinimum, kRtsMaximum));
    rtsUpdate();

    powerRadios.select(powerIndex_);
    roamingRadios.select(roamingIndex_);
}

void AdvancedSettingsDialog::onLanguageChosen() {
    languages_.apply(languageList.selected(), code());
}

void AdvancedSettingsDialog::onPowerChosen() {
    const int previous = powerIndex_;
    if (powerRadios.selected() < 0) {
        return;
    }
    powerIndex_ = powerRadios.selected();
    if (powerIndex_ != previous) {
        settings_.applier.applyPowerSaveMode(powerIndex_);
    }
}

void AdvancedSettingsDialog::onRoamingChosen() {
    if (roamingRadios.selected() == kWorldMode) {
        settings_.applier.applyOperationRegion(0);
        settings_.applier.setSupportChannels(nullptr, 0);
        roamingUpdate(kWorldMode);
    } else if (roamingRadios.selected() == kUserSelect) {
        roamingUpdate(kUserSelect);
    }
}

void AdvancedSettingsDialog::roamingUpdate(int mode) {
    const int previous = roamingIndex_;
    roamingIndex_ = roamingRadios.selected();
    if (roamingIndex_ != previous) {
        regionList.setEnabled(mode == kUserSelect);
        settings_.applier.applyMultiDomainCapability(mode);
    }
}

void AdvancedSettingsDialog::onRegionChosen() {
    const int row = regionList.selected();
    if (row < 0 || row >= static_cast<int>(regionCodes_.size())) {
        return;
    }
    settings_.applier.applyOperationRegion(regionCodes_[static_cast<std::size_t>(row)]);
    const int region = settings_.library.QueryWL_OperationRegionCode(&settings_.adapter);
    if (region != kNoValue) {
        settings_.library.SetWL_RegionAndSupportChannel(&settings_.adapter, region);
    }
}

void AdvancedSettingsDialog::onSliderMoved() {
    fragmentationUpdate();
    rtsUpdate();
}

void AdvancedSettingsDialog::fragmentationUpdate() {
    const int position = fragmentationSlider.position();
    fragmentationValue.setText(
        thresholdLabel(position, kFragmentationMaximum, text("AS_Fragment_Disable", "Disable")));
    settings_.applier.applyFragmentationThreshold(position);
}

void AdvancedSettingsDialog::rtsUpdate() {
    const int position = rtsSlider.position();
    rtsValue.setText(thresholdLabel(position, kRtsMaximum, text("AS_RTS_CTS_Disable", "Disable")));
    settings_.applier.applyRtsThreshold(position);
}

void AdvancedSettingsDialog::showThresholdLabels() {
    fragmentationValue.setText(thresholdLabel(fragmentationSlider.position(), kFragmentationMaximum,
                                              text("AS_Fragment_Disable", "Disable")));
    rtsValue.setText(
        thresholdLabel(rtsSlider.position(), kRtsMaximum, text("AS_RTS_CTS_Disable", "Disable")));
}

}  // namespace rizorivu::ui
