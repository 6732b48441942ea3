#include "ui/ap/AccessPointSettingsDialog.h"

#include <algorithm>
#include <string>

#include "platform/Unicode.h"
#include "settings/LastSettings.h"
#include "settings/NumberText.h"
#include "settings/SettingNames.h"
#include "settings/SettingsContext.h"
#include "ui/ap/ChoiceTexts.h"
#include "ui/ap/MacFilterDialog.h"
#include "ui/station/AdvancedSettingsValues.h"
#include "ui/station/WepKeysDialog.h"

namespace rizorivu::ui {

namespace {

constexpr int kUsb11 = 0;  // what the USB type query answers for a USB 1.1 port
constexpr int kMinStoredChannel = 1;
constexpr std::string_view kDefaultSsid = "WLAN_AP";

std::vector<std::string> channelItems(const std::vector<std::uint8_t>& channels) {
    std::vector<std::string> items;
    items.reserve(channels.size());
    for (const std::uint8_t channel : channels) {
        items.push_back(decimalText(channel));
    }
    return items;
}

// Refills `list` and selects the row it had, when the new list still has it.
void refill(DropDownList& list, std::vector<std::string> items) {
    const int row = list.selected();
    list.setItems(std::move(items));
    list.select(row);
}

}  // namespace

AccessPointSettingsDialog::AccessPointSettingsDialog(SettingsContext& settings,
                                                     const Configuration& configuration,
                                                     const DialogEnvironment& environment)
    : Dialog(DialogCode::AccessPointSettings, environment),
      settings_(settings),
      configuration_(configuration) {}

void AccessPointSettingsDialog::recaption() {
    title().setText(text("AP_BS_Dialog_Title", "Access Point Setting"));
    channelLabel.setText(text("AP_BS_Channel", "Channel"));
    basicRateLabel.setText(text("AP_BS_BasicRate", "Basic Rate"));
    ssidLabel.setText(text("AP_BS_SSID", "SSID"));
    hideSsidCheck.setText(text("AP_BS_HIDE_SSID", "Hide SSID"));
    txPowerLabel.setText(text("AP_BS_TX_Power", "Tx Power"));
    stateButton.setText(editing_ ? text("AP_BS_Button_Apply", "Apply")
                                 : text("AP_BS_Button_Change", "Change"));
    wepLabel.setText(text("AP_BS_WEP", "WEP"));
    wepKeysButton.setText(text("AP_BS_WEP_Btn_Setting", "Setting"));
    authenticationLabel.setText(text("AP_BS_Authen_Mode", "Authentication Mode:"));
    fragmentationLabel.setText(text("AP_BS_Fragment", "Fragment"));
    rtsLabel.setText(text("AP_BS_RTSCTS", "RTS/CTS"));
    preambleLabel.setText(text("AP_BS_Preamble", "Preamble"));
    macFilterLabel.setText(text("AP_BS_MAC_Filter", "MAC Address Filter:"));
    macFilterButton.setText(text("AP_BS_Button_MAC_Filter", "Setting"));

    fillChannels();

    // A USB 1.1 port cannot carry the higher basic rates: the list stops before the third.
    std::string group = text("AP_BS_GeneralConnectSetting", "General Connection Setting");
    int rates = kBasicRates;
    if (settings_.library.QueryWL_USBType(&settings_.adapter) == kUsb11) {
        rates = kUsb11BasicRates;
        group += " " + text("AP_BS_USB11_Limited", "(USB 1.1 Limited)");
    }
    radioGroup.setText(group);
    refill(basicRateList, numberedTexts(texts(), "AP_BS_BasicRate_", 0, rates));
    refill(txPowerList, numberedTexts(texts(), "AP_BS_TxPower", 0));
    refill(wepList, numberedTexts(texts(), "AP_BS_WEP_", 0));
    refill(authenticationList, numberedTexts(texts(), "AP_BS_Authentication_Value_", 1));
    refill(preambleList, numberedTexts(texts(), "AP_BS_Preamble_", 0));

    fragmentationValue.setText(thresholdText(fragmentationSlider));
    rtsValue.setText(thresholdText(rtsSlider));
}

void AccessPointSettingsDialog::fillChannels() {
    std::vector<std::uint8_t> channels(kMaxChannels, 0);
    int count = kMaxChannels;
    const int result =
        settings_.library.QueryWL_SupportChannel(&settings_.adapter, channels.data(), &count);
    // A list the adapter calls good but that holds nothing would leave the view without a
    // first channel to fall back on; one longer than the buffer is cut to the buffer.
    if (result != 0 || count <= 0) {
        channels.resize(kFallbackChannels);
        for (int n = 0; n < kFallbackChannels; ++n) {
            channels[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(n + 1);
        }
    } else {
        channels.resize(static_cast<std::size_t>(std::min(count, kMaxChannels)));
    }
    channels_ = std::move(channels);
    channelList.setItems(channelItems(channels_));
}

void AccessPointSettingsDialog::onInitialise() {
    fragmentationSlider.setRange(kFragmentationMinimum, kFragmentationMaximum);
    fragmentationSlider.setTickSpacing(kThresholdTickSpacing);
    fragmentationSlider.setPageSize(kThresholdPageSize);
    rtsSlider.setRange(kRtsMinimum, kRtsMaximum);
    rtsSlider.setTickSpacing(kThresholdTickSpacing);
    rtsSlider.setPageSize(kThresholdPageSize);
    ssidField.setMaxLength(kSsidChars);
    showStoredValues();
    showEditing(false);
}

int AccessPointSettingsDialog::stored(std::string_view name, int low, int high,
                                      int fallback) const {
    // Absent is not 0: reading it so would show WEP as on while the adapter runs without it,
    // and send fragmentation 256 and RTS 0 merely because the view was opened.
    const std::string text = settings_.last.lastSettingText(OperatingMode::kAccessPoint, name);
    if (text.empty()) {
        return fallback;
    }
    const int value = decimalTextToInt(text);
    return value < low || value > high ? fallback : value;
}

void AccessPointSettingsDialog::showStoredValues() {
    const int channel = stored(settingname::kChannel, kMinStoredChannel, kMaxChannels, -1);
    const auto found = std::find(channels_.begin(), channels_.end(), channel);
    if (channel < 0 || found == channels_.end()) {
        channelList.select(0);
        settings_.applier.applyChannel(channels_.front());
    } else {
        channelList.select(static_cast<int>(found - channels_.begin()));
    }

    basicRateList.select(stored(settingname::kBasicRate, 0, kBasicRates - 1, 0));
    const std::string ssid =
        settings_.last.lastSettingText(OperatingMode::kAccessPoint, settingname::kSsid);
    ssidField.setText(utf8Prefix(ssid, kSsidChars));
    hideSsidCheck.setChecked(stored(settingname::kHideSsid, 0, 1, 0) == 1);
    txPowerList.select(stored(settingname::kTxPowerLevel, 0, kTxPowerLevels - 1, 0));
    wepList.select(stored(settingname::kWepStatus, 0, 1, 1));
    authenticationList.select(stored(settingname::kAuthenticationMode, 0, 1, 0));
    preambleList.select(stored(settingname::kPreambleMode, 0, 2, 2));

    fragmentationSlider.setPosition(stored(settingname::kFragmentationThreshold, 0,
                                           kFragmentationMaximum, kFragmentationMaximum));
    fragmentationStep();
    rtsSlider.setPosition(
        stored(settingname::kRtsThreshold, kRtsMinimum, kRtsMaximum, kRtsMaximum));
    rtsStep();
}

void AccessPointSettingsDialog::showEditing(bool editing) {
    editing_ = editing;
    for (Control* control :
         {static_cast<Control*>(&channelList), static_cast<Control*>(&basicRateList),
          static_cast<Control*>(&ssidField), static_cast<Control*>(&hideSsidCheck),
          static_cast<Control*>(&txPowerList)}) {
        control->setEnabled(editing);
    }
    stateButton.setText(editing ? text("AP_BS_Button_Apply", "Apply")
                                : text("AP_BS_Button_Change", "Change"));
    offerStateButton(editing, stateButton, [this] { onStateButton(); });
}

void AccessPointSettingsDialog::onStateButton() {
    if (!editing_) {
        showEditing(true);
        return;
    }
    SettingApplier& applier = settings_.applier;
    const int channelRow = channelList.selected();
    if (channelRow >= 0 && channelRow < static_cast<int>(channels_.size())) {
        applier.applyChannel(channels_[static_cast<std::size_t>(channelRow)]);
    }
    const int rate = basicRateList.selected();
    if (rate >= 0 && rate < kBasicRates) {
        applier.applyBasicRate(rate);
    }
    applier.applyHideSsid(hideSsidCheck.checked() ? 1 : 0);
    // With no level listed there is nothing to send: -1 would reach the adapter and the store.
    const int power = txPowerList.selected();
    if (power >= 0 && power < kTxPowerLevels) {
        applier.applyTxPowerLevel(power);
    }
    // Whole characters only: under a double-byte code page a cut at 32 bytes could split one.
    const std::string_view typed = utf8Prefix(ssidField.text(), kSsidFieldChars);
    applier.applySsidText(utf8Prefix(typed, kSsidChars));
    showEditing(false);
}

void AccessPointSettingsDialog::onWepChosen() {
    const int row = wepList.selected();
    if (row == kWepEnabledRow) {
        settings_.applier.reapplyWepKeys(1, -1);
    } else if (row == kWepDisabledRow) {
        settings_.applier.reapplyWepKeys(0, -1);
    } else {
        return;
    }
    reapplySsid();
}

void AccessPointSettingsDialog::reapplySsid() {
    // Setting the SSID again restarts the access point with the new security setting.
    std::string ssid = std::string(
        utf8Prefix(settings_.last.lastSettingText(OperatingMode::kAccessPoint, settingname::kSsid),
                   kSsidChars));
    if (ssid.empty()) {
        ssid = kDefaultSsid;
    }
    settings_.applier.applySsidText(ssid);
}

void AccessPointSettingsDialog::onAuthenticationChosen() {
    if (authenticationList.selected() >= 0) {
        settings_.applier.applyAuthenticationMode(authenticationList.selected());
    }
}

void AccessPointSettingsDialog::onPreambleChosen() {
    if (preambleList.selected() >= 0) {
        settings_.applier.applyPreambleMode(preambleList.selected());
    }
}

void AccessPointSettingsDialog::onSliderMoved() {
    fragmentationStep();
    rtsStep();
}

std::string AccessPointSettingsDialog::thresholdText(const Slider& slider) const {
    const int position = slider.position();
    return position == slider.maximum()
               ? withNumber(text("AP_BS_Threshold_Disable", "Disable"), position)
               : decimalText(position);
}

void AccessPointSettingsDialog::fragmentationStep() {
    fragmentationValue.setText(thresholdText(fragmentationSlider));
    settings_.applier.applyFragmentationThreshold(fragmentationSlider.position());
}

void AccessPointSettingsDialog::rtsStep() {
    rtsValue.setText(thresholdText(rtsSlider));
    settings_.applier.applyRtsThreshold(rtsSlider.position());
}

void AccessPointSettingsDialog::onWepKeys() {
    WepKeysDialog keys(settings_, configuration_, DialogEnvironment{host(), chain(), texts()});
    runChild(keys);
}

void AccessPointSettingsDialog::onMacFilter() {
    MacFilterDialog filter(settings_, DialogEnvironment{host(), chain(), texts()});
    runChild(filter);
}

}  // namespace rizorivu::ui
