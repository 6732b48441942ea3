#pragma once

#include <vector>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
}  // namespace rizorivu

namespace rizorivu::ui {

class LanguageSwitch;

// The language of the user interface and four radio parameters: power saving, country
// roaming with the regulatory region, and the fragmentation and RTS/CTS thresholds. There is
// no OK button: every change the user makes goes to the adapter at once, and what the adapter
// accepts is recorded. Opening writes both thresholds back, so a value outside a slider's
// range is replaced by that slider's "Disable" value.
class AdvancedSettingsDialog final : public Dialog {
public:
    static constexpr int kPowerModes = 3;  // CAM, maximum saving, fast saving
    static constexpr int kUserSelect = 0;  // roaming radio and multi-domain value
    static constexpr int kWorldMode = 1;

    AdvancedSettingsDialog(SettingsContext& settings, const Configuration& configuration,
                           const DialogEnvironment& environment, LanguageSwitch& languages);

    // --- controls
    GroupBox languageGroup;
    Label languageLabel;
    DropDownList languageList;
    GroupBox powerGroup;
    RadioGroup powerRadios{kPowerModes};
    GroupBox roamingGroup;
    RadioGroup roamingRadios{2};  // kUserSelect, kWorldMode
    DropDownList regionList;
    GroupBox fragmentationGroup;
    Slider fragmentationSlider;
    Label fragmentationMinimum;
    Label fragmentationMaximum;
    Label fragmentationValue;
    GroupBox rtsGroup;
    Slider rtsSlider;
    Label rtsMinimum;
    Label rtsMaximum;
    Label rtsValue;

    // --- Dialog
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onLanguageChosen();
    void onPowerChosen();
    void onRoamingChosen();
    void onRegionChosen();
    // Either slider moved: both thresholds are applied.
    void onSliderMoved();

    // --- state, for views and tests
    int powerIndex() const { return powerIndex_; }
    int roamingIndex() const { return roamingIndex_; }
    const std::vector<int>& regionCodes() const { return regionCodes_; }
    // -1 when the language defines no country.
    int regionCount() const { return regionCount_; }

protected:
    void onInitialise() override;

private:
    void roamingUpdate(int mode);
    void fragmentationUpdate();
    void rtsUpdate();
    void showThresholdLabels();

    SettingsContext& settings_;
    const Configuration& configuration_;
    LanguageSwitch& languages_;
    int powerIndex_ = 0;
    int roamingIndex_ = -1;
    std::vector<int> regionCodes_;
    int regionCount_ = -1;
};

}  // namespace rizorivu::ui
