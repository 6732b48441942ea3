#pragma once

#include <cstdint>
#include <vector>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
}  // namespace rizorivu

namespace rizorivu::ui {

// The access point's own settings. Channel, basic rate, SSID, hidden SSID and transmit power
// sit behind "Change"/"Apply"; WEP, authentication, preamble and the two thresholds go to the
// adapter the moment they change. Every value the adapter accepts is recorded in the
// access-point section, so opening the dialog shows what the adapter was last told.
class AccessPointSettingsDialog final : public Dialog {
public:
    static constexpr int kMaxChannels = 100;
    static constexpr int kFallbackChannels = 14;
    static constexpr int kBasicRates = 4;  // "BasicRate" 0-3
    static constexpr int kUsb11BasicRates = 2;
    static constexpr int kTxPowerLevels = 4;
    static constexpr int kWepEnabledRow = 0;
    static constexpr int kWepDisabledRow = 1;
    static constexpr int kSsidChars = 32;
    static constexpr int kSsidFieldChars = 200;

    AccessPointSettingsDialog(SettingsContext& settings, const Configuration& configuration,
                              const DialogEnvironment& environment);

    // --- controls
    GroupBox radioGroup;
    Label channelLabel;
    DropDownList channelList;
    Label basicRateLabel;
    DropDownList basicRateList;
    Label ssidLabel;
    TextField ssidField;
    CheckBox hideSsidCheck;
    Label txPowerLabel;
    DropDownList txPowerList;
    Button stateButton;
    Label wepLabel;
    DropDownList wepList;
    Button wepKeysButton;
    Label authenticationLabel;
    DropDownList authenticationList;
    Label fragmentationLabel;
    Slider fragmentationSlider;
    Label fragmentationValue;
    Label rtsLabel;
    Slider rtsSlider;
    Label rtsValue;
    Label preambleLabel;
    DropDownList preambleList;
    Label macFilterLabel;
    Button macFilterButton;

    // --- Dialog
    // Re-reads every text and refills the lists; each list keeps its selection except the
    // channel list, which is asked of the adapter again and shows none.
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onStateButton();
    void onWepChosen();
    void onAuthenticationChosen();
    void onPreambleChosen();
    // Either slider moved: both thresholds are applied, fragmentation first.
    void onSliderMoved();
    void onWepKeys();
    void onMacFilter();

    // --- state, for views and tests
    bool editing() const { return editing_; }
    const std::vector<std::uint8_t>& supportedChannels() const { return channels_; }

protected:
    void onInitialise() override;

private:
    void fillChannels();
    void showStoredValues();
    void showEditing(bool editing);
    void fragmentationStep();
    void rtsStep();
    std::string thresholdText(const Slider& slider) const;
    // A stored access-point value as decimal text; `fallback` when it is absent or outside
    // `low`..`high`.
    int stored(std::string_view name, int low, int high, int fallback) const;
    void reapplySsid();

    SettingsContext& settings_;
    const Configuration& configuration_;
    std::vector<std::uint8_t> channels_;
    bool editing_ = false;
};

}  // namespace rizorivu::ui
