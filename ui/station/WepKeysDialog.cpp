#include "ui/station/WepKeysDialog.h"

#include <algorithm>

#include "platform/Unicode.h"
#include "settings/Configuration.h"
#include "settings/HexText.h"
#include "settings/SettingsContext.h"
#include "ui/station/WepKeyText.h"

namespace rizorivu::ui {

namespace {

constexpr std::string_view kKeyLengthValue = "WEPKeyLength";
constexpr std::string_view kTransmitKeyValue = "WEPDefaultKeyId";
constexpr std::string_view kSsidValue = "SSID";
constexpr int kShortestBits = 64;
constexpr int kLongestBits = 256;
constexpr int k256BitIndex = 2;
constexpr int kConnected = 0;
constexpr std::size_t kSsidChars = 32;

struct TextKey {
    std::string_view key;
    std::string_view defaultText;
};

constexpr std::array<TextKey, WepKeysDialog::kLengths> kLengthTexts{{
    {"WS_Key_Set_Key_Length_64", "64 bit"},
    {"WS_Key_Set_Key_Length_128", "128 bit"},
    {"WS_Key_Set_Key_Length_256", "256 bit"},
}};

constexpr std::array<TextKey, WepKeysDialog::kKeys> kKeyLabelTexts{{
    {"WS_Key_Set_Key_Value_1", "#1:"},
    {"WS_Key_Set_Key_Value_2", "#2:"},
    {"WS_Key_Set_Key_Value_3", "#3:"},
    {"WS_Key_Set_Key_Value_4", "#4:"},
}};

}  // namespace

WepKeysDialog::WepKeysDialog(SettingsContext& settings, const Configuration& configuration,
                             const DialogEnvironment& environment)
    : Dialog(DialogCode::WepKeys, environment),
      settings_(settings),
      configuration_(configuration) {}

void WepKeysDialog::recaption() {
    title().setText(text("WS_Dialog_Title", "WEP Key Setting..."));
    frame.setText(text("WS_Key_Set_Sub_Title", "WEP Key Setting"));
    lengthLabel.setText(text("WS_Key_Set_Key_Length", "Key Length:"));
    for (int i = 0; i < kLengths; ++i) {
        lengthRadios.setButtonText(i, text(kLengthTexts[i].key, kLengthTexts[i].defaultText));
    }
    transmitKeyLabel.setText(text("WS_Key_Set_Key_Default_Id", "Default Key ID:"));
    formatLabel.setText(text("WS_Key_Key_Format", "Key Format:"));
    formatRadios.setButtonText(kHexFormat, text("WS_Key_Hexdecimal", "Hexdecimal"));
    formatRadios.setButtonText(kAsciiFormat, text("WS_Key_ASCII", "ASCII"));
    valueLabel.setText(text("WS_Key_Set_Key_Value_Desc", "Key Value:"));
    for (int i = 0; i < kKeys; ++i) {
        keyLabels[i].setText(text(kKeyLabelTexts[i].key, kKeyLabelTexts[i].defaultText));
    }
    stateButton.setText(editing_ ? text("WS_Key_Set_Button_Apply", "Apply")
                                 : text("WS_Key_Set_Button_Change", "Change"));
}

void WepKeysDialog::onInitialise() {
    editing_ = false;
    stateButton.setText(text("WS_Key_Set_Button_Change", "Change"));
    std::vector<std::string> items;
    for (int i = 1; i <= kKeys; ++i) {
        items.push_back("#" + std::to_string(i));
    }
    transmitKeyList.setItems(std::move(items));
    lengthRadios.setButtonVisible(k256BitIndex, configuration_.enableWep256 != 0);
    modified_.fill(false);
    load();
}

void WepKeysDialog::load() {
    int bits = settings_.last.lastSettingInt(kKeyLengthValue);
    if (bits > kLongestBits || bits < kShortestBits) {
        bits = kShortestBits;
    }
    keyLengthIndex_ = wepLengthIndexOfBits(bits);
    lengthRadios.select(keyLengthIndex_);
    formatRadios.select(keyFormat_);

    int transmitKey = settings_.last.lastSettingInt(kTransmitKeyValue);
    if (transmitKey < 0 || transmitKey >= kKeys) {
        transmitKey = 0;
    }
    transmitKeyList.select(transmitKey);
    mask();
    showEnabling();
}

void WepKeysDialog::mask() {
    const std::string masked = wepKeyMask(keyLengthIndex_, keyFormat_);
    for (int i = 0; i < kKeys; ++i) {
        modified_[i] = false;
        keyFields[i].setMaxLength(wepKeyFieldLimit(keyLengthIndex_, keyFormat_));
        keyFields[i].setText(masked);
    }
}

void WepKeysDialog::showEnabling() {
    lengthRadios.setAllEnabled(editing_);
    transmitKeyList.setEnabled(editing_);
    formatRadios.setAllEnabled(editing_);
    for (TextField& field : keyFields) {
        field.setEnabled(editing_);
    }
    stateButton.setText(editing_ ? text("WS_Key_Set_Button_Apply", "Apply")
                                 : text("WS_Key_Set_Button_Change", "Change"));
    offerStateButton(editing_, stateButton, [this] { onStateButton(); });
}

void WepKeysDialog::onLengthChosen() {
    const int chosen = lengthRadios.selected();
    if (!editing_ || chosen < 0 || chosen == keyLengthIndex_) {
        lengthRadios.select(keyLengthIndex_);
        return;
    }
    keyLengthIndex_ = chosen;
    mask();
}

void WepKeysDialog::onFormatChosen() {
    const int chosen = formatRadios.selected();
    if (!editing_ || chosen < 0 || chosen == keyFormat_) {
        formatRadios.select(keyFormat_);
        return;
    }
    keyFormat_ = chosen;
    mask();
}

void WepKeysDialog::onKeyEdited(int index) {
    if (index < 0 || index >= kKeys) {
        return;
    }
    modified_[index] = true;
    if (keyFormat_ != kHexFormat) {
        return;
    }
    TextField& field = keyFields[index];
    const HexDigitsOnly kept = keepHexDigits(field.text());
    if (kept.removedAt != std::string::npos) {
        field.setText(kept.text);
        field.setCaret(kept.removedAt);
    }
}

void WepKeysDialog::onStateButton() {
    if (editing_) {
        apply();
        editing_ = false;
    } else {
        editing_ = true;
    }
    load();
}

void WepKeysDialog::apply() {
    AdapterLibrary& library = settings_.library;
    AdapterRecord* adapter = &settings_.adapter;

    // A BSSID is re-selected only when the adapter named one: a failed query leaves nothing
    // worth selecting.
    std::array<std::uint8_t, adapterbuf::kMacBytes> bssid{};
    const bool connected = library.QueryWL_ConnectState(adapter) == kConnected;
    const bool bssidKnown = connected && library.QueryWL_BSSID(adapter, bssid) == 0;

    const int bits = wepKeyBits(keyLengthIndex_);
    const auto n = static_cast<std::size_t>(wepKeyBytes(keyLengthIndex_));
    int transmitKey = transmitKeyList.selected();
    if (transmitKey < 0 || transmitKey >= kKeys) {
        transmitKey = 0;
    }
    for (int i = 0; i < kKeys; ++i) {
        std::array<std::uint8_t, kWepKeyBuffer> buffer{};
        if (modified_[i]) {
            buffer =
                wepKeyBytesOfText(keyFields[i].text(), keyLengthIndex_, keyFormat_, settings_.ansi);
        } else {
            // The stored key, or the built-in default for a length never used before, goes
            // through its hex text as a stored profile key does.
            std::array<std::uint8_t, kWepKeyBuffer> stored{};
            settings_.last.readWepKeyBytes(bits, i, std::span(stored).first(n));
            HexTextToBytes(BytesToHexText(std::span(stored).first(n)), std::span(buffer).first(n));
        }
        settings_.applier.applyWepKey(i, keyLengthIndex_, i == transmitKey ? 1 : 0, buffer.data());
    }

    if (parentCode() == DialogCode::GeneralSettings) {
        if (bssidKnown) {
            library.SetWL_BSSID(adapter, bssid);
        }
        const std::string ssid = settings_.last.lastSettingText(settings_.mode.get(), kSsidValue);
        settings_.applier.applySsidText(utf8Prefix(ssid, kSsidChars));
    }
}

}  // namespace rizorivu::ui
