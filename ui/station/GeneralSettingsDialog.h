#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace rizorivu {
struct Configuration;
struct SettingsContext;
}  // namespace rizorivu

namespace rizorivu::ui {

class LanguageSwitch;

// The station's settings page ("More Setting..."): channel, transmit rate, SSID, network
// type, encryption and authentication of the station's last settings, applied to the adapter
// in one step; named profiles loaded, saved and deleted; and the doors to the WEP keys, the
// advanced settings and the information dialog. Viewing shows the values read-only under
// "Change"; editing makes them editable under "Apply", which writes everything and returns to
// viewing. Closing the dialog applies nothing.
class GeneralSettingsDialog final : public Dialog {
public:
    // A profile name is at most this many characters.
    static constexpr std::size_t kProfileNameChars = 200;
    static constexpr std::size_t kSsidChars = 32;

    GeneralSettingsDialog(SettingsContext& settings, const Configuration& configuration,
                          const DialogEnvironment& environment, LanguageSwitch& languages);

    // --- controls
    GroupBox settingsFrame;
    Label channelLabel;
    DropDownList channelList;
    Label rateLabel;
    DropDownList rateList;
    Label ssidLabel;
    TextField ssidField;
    CheckBox anyCheck;
    Label networkTypeLabel;
    DropDownList networkTypeList;
    Label encryptionLabel;
    DropDownList encryptionList;
    Label authenticationLabel;
    DropDownList authenticationList;
    Button stateButton;
    GroupBox encryptionFrame;
    Button wepKeysButton;
    Button wpaButton;
    GroupBox profileFrame;
    Label profileNameLabel;
    DropDownList profileList{true};
    Button loadButton;
    Button saveButton;
    Button deleteButton;
    GroupBox otherFrame;
    Label otherDescription;
    Button advancedButton;
    Button informationButton;

    // --- Dialog
    void recaption() override;

    // --- user actions, called by the view after the control models took the user's change
    void onStateButton();
    void onNetworkTypePicked();
    void onAnyClicked();
    void onWepKeys();
    void onWpa();
    void onAdvanced();
    void onInformation();
    void onLoadProfile();
    void onSaveProfile();
    void onDeleteProfile();

    // --- state, for views and tests
    bool editing() const { return editing_; }
    const std::array<std::uint8_t, adapterbuf::kRateBytes>& supportedRates() const {
        return supportedRates_;
    }
    // Whether the encryption list shown is the one with TKIP and AES.
    bool wpaEncryptionList() const { return wpaEncryptionList_; }

protected:
    void onInitialise() override;

private:
    void buildRateList();
    void buildNetworkTypes();
    // Encryption and authentication items for a network-type position; `reselect` selects
    // the stored values as a user's pick of a network type does.
    void buildSecurityLists(int networkTypePosition, bool reselect);
    void buildChannelList();
    void fillProfileList();
    void loadValues();
    void showEnabling();
    void apply();
    void applyEncryption();
    void applyRate();
    // The profile field's text, cut to its length.
    std::string profileName() const;
    void showProfileMessage(std::string text);
    int storedNetworkTypePosition() const;

    SettingsContext& settings_;
    const Configuration& configuration_;
    const DialogEnvironment environment_;
    LanguageSwitch& languages_;
    bool editing_ = false;
    std::array<std::uint8_t, adapterbuf::kRateBytes> supportedRates_{};
    bool ratesKnown_ = false;
    std::vector<std::uint8_t> channels_;
    bool wpaEncryptionList_ = false;
};

}  // namespace rizorivu::ui
