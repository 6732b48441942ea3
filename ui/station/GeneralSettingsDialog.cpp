#include "ui/station/GeneralSettingsDialog.h"

#include <algorithm>
#include <string>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "platform/Unicode.h"
#include "settings/Configuration.h"
#include "settings/HexText.h"
#include "settings/InterimSsid.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/station/AdvancedSettingsDialog.h"
#include "ui/station/GeneralSettingsLists.h"
#include "ui/station/InformationDialog.h"
#include "ui/station/WepKeysDialog.h"
#include "ui/wpa/WpaSettingsDialog.h"

namespace rizorivu::ui {

namespace {

constexpr std::string_view kNetworkTypeValue = "NetworkType";
constexpr std::string_view kChannelValue = "Channel";
constexpr std::string_view kSsidValue = "SSID";
constexpr std::string_view kDesiredRateValue = "DesiredRate";
constexpr std::string_view kWepStatusValue = "WEPStatus";
constexpr std::string_view kAuthenticationValue = "AuthenticationMode";

constexpr int kStoredInfrastructure = 1;
constexpr int kAutoRatePosition = 0;
constexpr int kWepOn = 1;
constexpr int kWepOff = 0;
constexpr int kTkip = 4;
constexpr int kAes = 6;
constexpr int kItemsWithoutPseudoIbss = 2;
constexpr int kItemsWithoutWpa = 3;

// Items that only the language file names: key pattern and positions 1, 2, ... until a key
// is missing, at most `limit` of them.
std::vector<std::string> languageFileItems(const LocalizedText& texts, std::string_view pattern,
                                           int limit);

}  // namespace

GeneralSettingsDialog::GeneralSettingsDialog(SettingsContext& settings,
                                             const Configuration& configuration,
                                             const DialogEnvironment& environment,
                                             LanguageSwitch& languages)
    : Dialog(DialogCode::GeneralSettings, environment),
      settings_(settings),
      configuration_(configuration),
      environment_(environment),
      languages_(languages) {}

void GeneralSettingsDialog::recaption() {
    title().setText(text("BS_Dialog_Title", "More Setting..."));
    settingsFrame.setText(text("BS_G_Sub_Title", "General Connection Setting"));
    channelLabel.setText(text("BS_G_Channel", "Channel"));
    rateLabel.setText(text("BS_G_TxRate", "Tx Rate"));
    ssidLabel.setText(text("BS_G_SSID", "SSID"));
    anyCheck.setText(text("BS_G_SSID_any", "any"));
    networkTypeLabel.setText(text("BS_G_Network_Type", "Network Type"));
    encryptionLabel.setText(text("BS_G_Encrypt", "Encryption"));
    authenticationLabel.setText(text("BS_G_Authentication", "Authentication Mode"));
    encryptionFrame.setText(text("BS_E_Sub_Title", "WEP Encryption Setting"));
    wepKeysButton.setText(text("BS_E_WEP_More", "WEP Encryption Key Setting"));
    wpaButton.setText(text("BS_E_DOT1X_More", "WPA Encryption Setting"));
    profileFrame.setText(text("BS_P_Sub_Title", "Profile"));
    profileNameLabel.setText(text("BS_P_Profile_Name", "Profile name:"));
    loadButton.setText(text("BS_P_Load_Profile_Button", "Load"));
    saveButton.setText(text("BS_P_Write_Profile_Button", "Save Current"));
    deleteButton.setText(text("BS_P_Delete_Profile_Button", "Delete"));
    otherFrame.setText(text("BS_O_Sub_Title", "Other"));
    otherDescription.setText(text("BS_O_Description", "For more advanced setting, information..."));
    advancedButton.setText(text("BS_O_Advance_Set_Button", "Advanced Setting..."));
    informationButton.setText(text("BS_O_Information_Button", "Information"));
    stateButton.setText(editing_ ? text("BS_G_Button_Apply", "Apply")
                                 : text("BS_G_Button_Change", "Change"));
    wpaButton.setVisible(configuration_.wpaMode != 0);

    buildRateList();
    buildNetworkTypes();
    const int shown = networkTypeList.selected();
    buildSecurityLists(shown >= 0 ? shown : storedNetworkTypePosition(), false);
}

void GeneralSettingsDialog::onInitialise() {
    buildChannelList();
    editing_ = false;
    loadValues();
    fillProfileList();
    if (settings_.library.QvOpenAdapter(&settings_.adapter) != 0) {
        ssidField.setMaxLength(kSsidChars);
    }
}

int GeneralSettingsDialog::storedNetworkTypePosition() const {
    return positionOfNetworkType(settings_.last.lastSettingInt(kNetworkTypeValue));
}

void GeneralSettingsDialog::buildRateList() {
    const int selected = rateList.selected();
    const std::string unit = text("BS_G_TxRate_Value_Unit", "Mbps");
    std::vector<std::string> items{text("BS_G_TxRate_Value_Auto", "Auto")};
    // Zeroed first, so that a failed query leaves no rates of an earlier answer behind.
    supportedRates_.fill(0);
    ratesKnown_ =
        settings_.library.QueryWL_SupportedRate(&settings_.adapter, supportedRates_) != -1;
    if (!ratesKnown_) {
        supportedRates_.fill(0);
    }
    for (std::uint8_t& rate : supportedRates_) {
        if (!ratesKnown_ || rate == 0) {
            break;
        }
        rate &= 0x7F;
        items.push_back(rateItemText(rate, unit));
    }
    rateList.setItems(std::move(items));
    rateList.select(selected);
}

void GeneralSettingsDialog::buildNetworkTypes() {
    const int selected = networkTypeList.selected();
    networkTypeList.setItems(
        languageFileItems(texts(), "BS_G_Network_Type_Value_",
                          configuration_.pseudoIbssSupport == 0 ? kItemsWithoutPseudoIbss : -1));
    networkTypeList.select(selected);
}

void GeneralSettingsDialog::buildSecurityLists(int networkTypePosition, bool reselect) {
    const int encryption = encryptionList.selected();
    const int authentication = authenticationList.selected();
    wpaEncryptionList_ = usesWpaEncryptionList(configuration_.wpaMode, networkTypePosition);
    encryptionList.setItems(languageFileItems(
        texts(), wpaEncryptionList_ ? "BS_G_Encrypt_ValueM2_" : "BS_G_Encrypt_Value_", -1));

    const bool wpaOffered = offersWpaAuthentication(configuration_.wpaMode, networkTypePosition);
    authenticationList.setItems(languageFileItems(texts(), "BS_G_Authentication_Value_",
                                                  wpaOffered ? -1 : kItemsWithoutWpa));
    if (reselect) {
        encryptionList.select(encryptionPositionOfWepStatus(
            wpaEncryptionList_, settings_.last.lastSettingInt(kWepStatusValue)));
        authenticationList.select(
            rebuiltAuthenticationPosition(settings_.last.lastSettingInt(kAuthenticationValue),
                                          wpaOffered, authenticationList.count()));
    } else {
        encryptionList.select(encryption);
        authenticationList.select(authentication);
    }
}

void GeneralSettingsDialog::buildChannelList() {
    std::array<std::uint8_t, adapterbuf::kMaxChannels> answer{};
    int count = static_cast<int>(answer.size());
    const int result =
        settings_.library.QueryWL_SupportChannel(&settings_.adapter, answer.data(), &count);
    channels_ = offeredChannels(result, answer, count);
    std::vector<std::string> items;
    for (const std::uint8_t channel : channels_) {
        items.push_back(std::to_string(channel));
    }
    channelList.setItems(std::move(items));
}

void GeneralSettingsDialog::fillProfileList() {
    std::vector<std::string> names;
    std::string name;
    for (int found = settings_.profiles.first(name); found != -1 && !name.empty();
         found = settings_.profiles.next(name)) {
        names.push_back(name);
    }
    profileList.setItems(std::move(names));
}

void GeneralSettingsDialog::loadValues() {
    const LastSettings& last = settings_.last;
    const int networkType = positionOfNetworkType(last.lastSettingInt(kNetworkTypeValue));
    // A loaded profile may bring another network type, whose lists differ.
    buildSecurityLists(networkType, false);
    networkTypeList.select(networkType);

    const int channel = last.lastSettingInt(kChannelValue);
    channelList.select(channel < 1 ? -1 : channelList.indexOf(std::to_string(channel)));

    const std::string ssid(
        utf8Prefix(last.lastSettingText(last.currentMode(), kSsidValue), kSsidChars));
    ssidField.setText(ssid);
    anyCheck.setChecked(ssid.empty());

    std::array<std::uint8_t, adapterbuf::kRateBytes> desired{};
    HexTextToBytes(last.lastSettingText(last.currentMode(), kDesiredRateValue), desired);
    rateList.select(ratesKnown_ ? ratePositionOfDesiredRates(desired, supportedRates_)
                                : kAutoRatePosition);

    encryptionList.select(
        encryptionPositionOfWepStatus(wpaEncryptionList_, last.lastSettingInt(kWepStatusValue)));
    authenticationList.select(
        loadedAuthenticationPosition(last.lastSettingInt(kAuthenticationValue)));
    showEnabling();
}

void GeneralSettingsDialog::showEnabling() {
    networkTypeList.setEnabled(editing_);
    rateList.setEnabled(editing_);
    anyCheck.setEnabled(editing_);
    encryptionList.setEnabled(editing_);
    authenticationList.setEnabled(editing_);
    ssidField.setEnabled(editing_ && !anyCheck.checked());
    channelList.setEnabled(editing_ && networkTypeList.selected() != kInfrastructurePosition);
    stateButton.setText(editing_ ? text("BS_G_Button_Apply", "Apply")
                                 : text("BS_G_Button_Change", "Change"));
    offerStateButton(editing_, stateButton, [this] { onStateButton(); });
}

void GeneralSettingsDialog::onStateButton() {
    if (editing_) {
        apply();
        editing_ = false;
    } else {
        editing_ = true;
    }
    showEnabling();
}

void GeneralSettingsDialog::onNetworkTypePicked() {
    if (!editing_) {
        return;
    }
    const int position = networkTypeList.selected();
    channelList.setEnabled(position != kInfrastructurePosition);
    buildSecurityLists(position, true);
}

void GeneralSettingsDialog::onAnyClicked() {
    ssidField.setEnabled(editing_ && !anyCheck.checked());
}

void GeneralSettingsDialog::apply() {
    SettingApplier& applier = settings_.applier;
    settings_.wpa.stopWpaConnection();

    const int networkTypePosition = networkTypeList.selected();
    const int networkType = networkTypeOfPosition(networkTypePosition);
    applier.applyNetworkType(networkType);

    const int channel = channelList.selected();
    if (networkType != kStoredInfrastructure && channel >= 0 &&
        channel < static_cast<int>(channels_.size())) {
        applier.applyChannel(channels_[static_cast<std::size_t>(channel)]);
    }

    const int authentication = appliedAuthenticationMode(
        authenticationList.selected(),
        offersWpaAuthentication(configuration_.wpaMode, positionOfNetworkType(networkType)));
    if (authentication >= 0) {
        applier.applyAuthenticationMode(authentication);
    }

    applyEncryption();

    const std::string ssid =
        anyCheck.checked() ? std::string()
                           : std::string(utf8Prefix(trimBlanks(ssidField.text()), kSsidChars));
    // The interim SSID only makes the adapter leave its network: it is not recorded, so a
    // refused real SSID leaves the stored one as it was.
    const auto interim = interimSsid(settings_.clock.wallSeconds());
    settings_.library.SetWL_SSID(&settings_.adapter, interim.data(),
                                 static_cast<int>(interim.size()));
    applier.applySsidText(ssid);

    applyRate();

    const int stored = settings_.last.lastSettingInt(kAuthenticationValue);
    if (isWpaInfrastructure(fromDriver<AuthenticationMode>(stored))) {
        settings_.wpa.startWpaConnection();
    }
}

void GeneralSettingsDialog::applyEncryption() {
    SettingApplier& applier = settings_.applier;
    const int position = encryptionList.selected();
    if (!wpaEncryptionList_) {
        applier.reapplyWepKeys(position == 0 ? kWepOn : kWepOff, -1);
        return;
    }
    switch (position) {
        case 1:
            applier.reapplyWepKeys(kWepOn, -1);
            break;
        case 2:
            applier.applyWepStatus(kTkip);
            break;
        case 3:
            applier.applyWepStatus(kAes);
            break;
        default:
            applier.reapplyWepKeys(kWepOff, -1);
            break;
    }
}

void GeneralSettingsDialog::applyRate() {
    const int position = rateList.selected();
    const auto rateCount = static_cast<int>(
        std::find(supportedRates_.begin(), supportedRates_.end(), std::uint8_t{0}) -
        supportedRates_.begin());
    if (position == kAutoRatePosition) {
        // Without an answer from the adapter there is no rate set to ask for; an all-zero set
        // would be recorded and replayed for ever.
        if (ratesKnown_ && rateCount > 0) {
            settings_.applier.applyDesiredRate(supportedRates_);
        }
    } else if (position > 0 && position <= rateCount) {
        std::array<std::uint8_t, adapterbuf::kRateBytes> one{};
        one[0] = supportedRates_[static_cast<std::size_t>(position - 1)];
        settings_.applier.applyDesiredRate(one);
    }
}

void GeneralSettingsDialog::onWepKeys() {
    WepKeysDialog child(settings_, configuration_, environment_);
    runChild(child);
}

void GeneralSettingsDialog::onWpa() {
    WpaSettingsDialog child(settings_, environment_);
    runChild(child);
}

void GeneralSettingsDialog::onAdvanced() {
    AdvancedSettingsDialog child(settings_, configuration_, environment_, languages_);
    runChild(child);
    // The region may have changed the channels the adapter offers.
    buildChannelList();
}

void GeneralSettingsDialog::onInformation() {
    InformationDialog child(settings_, environment_);
    runChild(child);
}

std::string GeneralSettingsDialog::profileName() const {
    return std::string(utf8Prefix(profileList.text(), kProfileNameChars));
}

void GeneralSettingsDialog::showProfileMessage(std::string message) {
    ask(MessageBox{std::move(message), text("BS_P_Profile_Title", "Profile"), MessageButtons::Ok,
                   MessageIcon::Exclamation});
}

void GeneralSettingsDialog::onLoadProfile() {
    const std::string name = profileName();
    ProfileStore& profiles = settings_.profiles;
    if (profiles.find(name) == -1) {
        showProfileMessage(text("BS_P_Not_Found_Profile", "Can't found the specified profile") +
                           ": \"" + name + "\".");
    } else {
        SettingRecord record;
        profiles.loadRecord(record);
        settings_.applier.applyRecord(record);
    }
    loadValues();
}

void GeneralSettingsDialog::onSaveProfile() {
    const std::string name = profileName();
    ProfileStore& profiles = settings_.profiles;
    if (trimBlanks(name).empty()) {
        showProfileMessage(
            text("BS_P_Profile_Name_Empty", "Please specify or input a profile name!"));
    } else {
        if (profiles.find(name) == -1) {
            profiles.add(name);
        }
        // A name the store could not take leaves no profile to write into.
        if (profiles.find(name) == 0) {
            SettingRecord record;
            settings_.replay.fillRecordFromLastSettings(record);
            profiles.saveRecord(record);
        }
        fillProfileList();
    }
    loadValues();
}

void GeneralSettingsDialog::onDeleteProfile() {
    const std::string name = profileName();
    const std::string_view trimmed = trimBlanks(name);
    if (trimmed.empty()) {
        showProfileMessage(
            text("BS_P_Profile_Name_Empty", "Please specify or input a profile name!"));
    } else {
        if (settings_.profiles.unlink(trimmed) == -1) {
            showProfileMessage(text("BS_P_Not_Found_Profile", "Can't found the specified profile") +
                               ": \"" + name + "\".");
        }
        fillProfileList();
    }
    loadValues();
}

namespace {

std::vector<std::string> languageFileItems(const LocalizedText& texts, std::string_view pattern,
                                           int limit) {
    std::vector<std::string> items;
    for (int n = 1; limit < 0 || n <= limit; ++n) {
        std::string item = texts.text(std::string(pattern) + std::to_string(n), "");
        if (item.empty()) {
            break;
        }
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

}  // namespace rizorivu::ui
