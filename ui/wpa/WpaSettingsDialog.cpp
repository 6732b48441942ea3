#include "ui/wpa/WpaSettingsDialog.h"

#include <algorithm>
#include <array>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "platform/Unicode.h"
#include "settings/OperatingMode.h"
#include "settings/SettingNames.h"
#include "settings/SettingsContext.h"

namespace rizorivu::ui {

namespace {

constexpr std::string_view kFallback = "Vodid";
constexpr std::string_view kNotFound = "Not Found";
constexpr std::string_view kBlank = " ";
constexpr std::string_view kTitleSuffix = "  ";
constexpr std::size_t kIdentityUnits = CertificateList::kTextUnits;

std::string certificateItem(int method, std::u16string_view first, std::u16string_view second) {
    if (method == WpaSettingsDialog::kPeap) {
        return utf16ToUtf8(first);
    }
    return utf16ToUtf8(first) + " -issued by " + utf16ToUtf8(second);
}

}  // namespace

WpaSettingsDialog::WpaSettingsDialog(SettingsContext& settings,
                                     const DialogEnvironment& environment)
    : Dialog(DialogCode::WpaSettings, environment),
      settings_(settings),
      certificates_(std::make_unique<CertificateList>()) {}

WpaSettingsDialog::~WpaSettingsDialog() = default;

void WpaSettingsDialog::recaption() {
    title().setText(text("DOT1X_Dialog_Title", "WPA Setting...") + std::string(kTitleSuffix));
    connectionFrame.setText(text("DOT1X_CONNETCINFO", "Connect Infomation"));
    methodLabel.setText(text("DOT1X_PROTOCOL", "Protocol:"));
    userNameLabel.setText(text("DOT1X_USERNAME", "User Name:"));
    passwordLabel.setText(text("DOT1X_PASSWORD", "Password:"));
    presharedFrame.setText(text("DOT1X_PRESHAREDKEY", "Pre-shared Key"));
    passphraseLabel.setText(text("DOT1X_PASSPHRASE", "Passphrase:"));
    passphraseHint.setText(
        text("DOT1X_PASSPHRASE_DESC", "(ASCII format, the length must be in 8..63)"));
    certificateFrame.setText(text("DOT1X_CERT", "Certificate"));
    wepFrame.setText(text("DOT1X_WEP", "WEP Key"));
    wepKeyButton.setText(text("DOT1X_WEPKEY", "WEP KEY SETTING"));
    stateButton.setText(editing_ ? text("DOT1X_Button_Apply", "Apply")
                                 : text("DOT1X_Button_Change", "Change"));
}

void WpaSettingsDialog::onInitialise() {
    editing_ = false;
    userNameField.setMaxLength(kFieldLimit);
    passwordField.setMaxLength(kFieldLimit);
    passphraseField.setMaxLength(kFieldLimit);
    passwordField.setText("");
    passphraseField.setText("");
    refresh();
}

bool WpaSettingsDialog::acceptablePassphrase(std::string_view passphrase) {
    const bool printable = std::all_of(passphrase.begin(), passphrase.end(),
                                       [](char c) { return c >= 0x20 && c <= 0x7E; });
    const auto length = static_cast<int>(passphrase.size());
    return printable && length >= kShortestPassphrase && length <= kLongestPassphrase;
}

void WpaSettingsDialog::refresh() {
    recaption();
    const int method = storedMethod();
    if (editing_) {
        showEditing(method);
    } else {
        showViewing(method);
    }
    wepKeyButton.setEnabled(false);
    offerStateButton(editing_, stateButton, [this] { onStateButton(); });
}

void WpaSettingsDialog::showEditing(int method) {
    methodList.setItems({"TLS", "PEAP"});
    methodList.select(method == kPeap ? kPeap : kTls);
    fillCertificates(method == kPeap ? kPeap : kTls);

    const bool peap = method != kTls;
    if (parentCode() == DialogCode::GeneralSettings) {
        methodList.setEnabled(true);
        userNameField.setEnabled(peap);
        passwordField.setEnabled(peap);
        passphraseField.setEnabled(true);
        certificateList.setEnabled(true);
        return;
    }
    // WPA2 asks for what WPA asks for, WPA2-PSK for what WPA-PSK asks for.
    const auto authentication = fromDriver<AuthenticationMode>(
        settings_.last.lastSettingInt(settingname::kAuthenticationMode));
    if (usesEap(authentication)) {
        methodList.setEnabled(true);
        userNameField.setEnabled(peap);
        passwordField.setEnabled(peap);
        passphraseField.setEnabled(false);
        certificateList.setEnabled(true);
    } else if (isWpa(authentication)) {
        methodList.setEnabled(false);
        userNameField.setEnabled(false);
        passwordField.setEnabled(false);
        passphraseField.setEnabled(true);
        certificateList.setEnabled(false);
    }
}

void WpaSettingsDialog::showViewing(int method) {
    methodList.setItems({method == kPeap ? "PEAP" : "TLS"});
    methodList.select(0);
    const std::string subject = stored(settingname::kDot1xCertSubject);
    std::string shown = std::string(kBlank);
    if (!subject.empty()) {
        shown = method == kPeap ? subject
                                : subject + " -issued by " + stored(settingname::kDot1xCertIssuer);
    }
    certificateList.setItems({shown});
    certificateList.select(0);
    userNameField.setText(stored(settingname::kDot1xUsername));

    methodList.setEnabled(false);
    userNameField.setEnabled(false);
    passwordField.setEnabled(false);
    passphraseField.setEnabled(false);
    certificateList.setEnabled(false);
}

void WpaSettingsDialog::fillCertificates(int method) {
    certificates_->clear();
    const int answered = method == kPeap ? settings_.dot1x.getROOTCertList(*certificates_)
                                         : settings_.dot1x.getMyCertList(*certificates_);
    // The count comes from the library; the list never holds more than its capacity.
    certificateCount_ = std::clamp(answered, 0, static_cast<int>(CertificateList::kEntries));
    certificateList.clear();
    for (int i = 0; i < certificateCount_; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        certificateList.addItem(
            certificateItem(method, certificates_->first(entry), certificates_->second(entry)));
    }
    certificateList.select(0);
}

void WpaSettingsDialog::onMethodChosen() {
    if (!editing_) {
        return;
    }
    const int method = methodList.selected() == kPeap ? kPeap : kTls;
    userNameField.setEnabled(method == kPeap);
    passwordField.setEnabled(method == kPeap);
    fillCertificates(method);
}

void WpaSettingsDialog::onStateButton() {
    if (editing_ && !apply()) {
        return;  // refused: the user corrects the passphrase and presses Apply again
    }
    if (parentCode() == DialogCode::GeneralSettings) {
        settings_.wpa.stopWpaConnection();
        const int authentication = settings_.last.lastSettingInt(settingname::kAuthenticationMode);
        if (isWpaInfrastructure(fromDriver<AuthenticationMode>(authentication))) {
            settings_.wpa.startWpaConnection();
        }
    }
    editing_ = !editing_;
    refresh();
}

bool WpaSettingsDialog::apply() {
    const std::string passphrase(utf8Prefix(passphraseField.text(), kFieldLimit));
    if (!passphrase.empty() && !acceptablePassphrase(passphrase)) {
        ask(MessageBox{text("DOT1X_Passphrase_Refused",
                            "The passphrase must have 8 to 63 ASCII characters. Nothing was "
                            "stored."),
                       text("DOT1X_Dialog_Title", "WPA Setting..."), MessageButtons::Ok,
                       MessageIcon::Exclamation});
        return false;
    }

    const int method = methodList.selected() == kPeap ? kPeap : kTls;
    store(settingname::kDot1xProtocol, std::to_string(method));
    if (!passphrase.empty()) {
        store(settingname::kDot1xPassphrase, passphrase);
    }

    // Typing is not possible in the list, so an entry is selected whenever there are any.
    const int entry = certificateCount_ == 0 ? -1 : std::max(certificateList.selected(), 0);
    if (entry < 0) {
        store(settingname::kDot1xCertSubject, kNotFound);
        store(settingname::kDot1xCertIssuer, kNotFound);
    } else {
        const auto at = static_cast<std::size_t>(entry);
        store(settingname::kDot1xCertSubject, utf16ToUtf8(certificates_->first(at)));
        store(settingname::kDot1xCertIssuer, utf16ToUtf8(certificates_->second(at)));
    }

    if (method == kTls) {
        store(settingname::kDot1xUsername, entry < 0 ? std::string(kBlank) : tlsIdentity(entry));
    } else {
        const std::string userName(utf8Prefix(userNameField.text(), kFieldLimit));
        store(settingname::kDot1xUsername, userName.empty() ? kBlank : userName);
        const std::string password(utf8Prefix(passwordField.text(), kFieldLimit));
        if (!password.empty()) {
            store(settingname::kDot1xPassword, password);
        } else if (stored(settingname::kDot1xPassword).empty()) {
            // Nothing to keep: the connection expects some password.
            store(settingname::kDot1xPassword, kFallback);
        }
    }
    return true;
}

std::string WpaSettingsDialog::tlsIdentity(int entry) const {
    const auto at = static_cast<std::size_t>(entry);
    std::array<char16_t, kIdentityUnits> identity{};
    settings_.dot1x.getMyCertSubjectAltName(certificates_->first(at), certificates_->second(at),
                                            identity);
    // The library promises a terminator; the last unit stays zero whatever it wrote.
    identity.back() = u'\0';
    const std::u16string_view name(identity.data());
    return name.empty() ? std::string(kBlank) : utf16ToUtf8(name);
}

int WpaSettingsDialog::storedMethod() const {
    return settings_.last.lastSettingInt(settingname::kDot1xProtocol);
}

std::string WpaSettingsDialog::stored(std::string_view name) const {
    return settings_.last.lastSettingText(OperatingMode::kStation, name);
}

void WpaSettingsDialog::store(std::string_view name, std::string_view value) const {
    settings_.last.writeLastSetting(OperatingMode::kStation, name, value);
}

}  // namespace rizorivu::ui
