#include "ui/main/NetworkJoin.h"

#include <string>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "adapter/SurveyRecord.h"
#include "adapter/WpaSuiteTypes.h"
#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "ui/main/ConnectWindow.h"

namespace rizorivu::ui {

namespace {

constexpr std::uint32_t kLowestChannelKhz = 2412000;
constexpr std::uint32_t kChannel14Khz = 2484000;
constexpr int kChannel14 = 14;

constexpr int kAdHoc = 0;
constexpr int kInfrastructure = 1;
// Infrastructure modes beyond the adapter's network types are not written.
constexpr std::uint32_t kNetworkTypeLimit = 5;

// Authentication modes and encryption values as the adapter numbers them.
constexpr int kAutoSwitch = 2;
constexpr int kWpa = 3;
constexpr int kWpaPsk = 4;
constexpr int kWpaNone = 5;
constexpr int kHighestAuthentication = 5;
constexpr int kWepOn = 0;
constexpr int kWepOff = 1;
constexpr int kTkip = 4;
constexpr int kAes = 6;
constexpr int kStoredTransmitKey = -1;

// Suite type bytes of the WPA element.
constexpr int kCipherNone = 0;
constexpr int kWep40 = 1;
constexpr int kCipherTkip = 2;
constexpr int kCipherCcmp = 4;
constexpr int kWep104 = 5;
constexpr int kAkmNone = 0;
constexpr int kAkm8021x = 1;
constexpr int kAkmPsk = 2;

}  // namespace

NetworkJoin::NetworkJoin(SettingsContext& settings, const Configuration& configuration,
                         const LocalizedText& texts, ConnectWindow& window)
    : settings_(settings), configuration_(configuration), texts_(texts), window_(window) {}

int NetworkJoin::adHocChannel(std::uint32_t frequencyKhz) {
    if (frequencyKhz < kLowestChannelKhz || frequencyKhz > kChannel14Khz) {
        return 0;
    }
    if (frequencyKhz == kChannel14Khz) {
        return kChannel14;
    }
    return static_cast<int>((frequencyKhz / 1000 - kLowestChannelKhz / 1000) / 5 + 1);
}

void NetworkJoin::join(std::span<const std::uint8_t> bytes) {
    const ConstSurveyRecordView record(bytes);
    const WpaSuiteTypes wpa = wpaSuiteTypes(surveyElementArea(bytes));
    const WpaSuiteTypes wpa2 = rsnSuiteTypes(surveyElementArea(bytes));
    const std::uint32_t infrastructure = record.infrastructureMode();
    SettingApplier& applier = settings_.applier;

    // An access point chooses its own channel; only an ad-hoc cell is followed there.
    if (infrastructure != kInfrastructure) {
        if (const int channel = adHocChannel(record.frequency()); channel != 0) {
            applier.applyChannel(channel);
        }
    }
    settings_.library.SetWL_BSSID(&settings_.adapter, record.bssid());
    const auto ssid = record.ssid();
    applier.applySsid(ssid.data(), static_cast<int>(ssid.size()));

    // An access point that speaks both versions is joined with WPA2. An ad-hoc cell has WPA-None
    // or nothing: WPA2 has no passphrase mode without a handshake.
    const bool wpaOn = configuration_.wpaMode != 0;
    if (wpaOn && wpa2.seen && infrastructure == kInfrastructure) {
        joinWpa2Infrastructure(wpa2);
    } else if (wpaOn && wpa.seen && infrastructure == kInfrastructure) {
        joinWpaInfrastructure(wpa);
    } else if (wpaOn && wpa.seen && infrastructure == kAdHoc) {
        joinWpaAdHoc(wpa);
    } else {
        joinPlain(infrastructure, record.privacy());
    }
}

void NetworkJoin::joinWpaInfrastructure(const WpaSuiteTypes& wpa) {
    SettingApplier& applier = settings_.applier;
    applier.applyNetworkType(kInfrastructure);
    if (wpa.keyManagement == kAkmNone) {
        reapplyAuthentication();
    } else if (wpa.keyManagement == kAkm8021x) {
        applier.applyAuthenticationMode(kWpa);
    } else if (wpa.keyManagement == kAkmPsk) {
        applier.applyAuthenticationMode(kWpaPsk);
    }
    encryptByPairwise(wpa.pairwise);
}

void NetworkJoin::joinWpa2Infrastructure(const WpaSuiteTypes& wpa2) {
    SettingApplier& applier = settings_.applier;
    applier.applyNetworkType(kInfrastructure);
    // The suite numbers of the RSN element are WPA's.
    if (wpa2.keyManagement == kAkm8021x) {
        applier.applyAuthenticationMode(toDriver(AuthenticationMode::Wpa2));
    } else if (wpa2.keyManagement == kAkmPsk) {
        applier.applyAuthenticationMode(toDriver(AuthenticationMode::Wpa2Psk));
    }
    encryptByPairwise(wpa2.pairwise);
}

void NetworkJoin::encryptByPairwise(int pairwise) {
    switch (pairwise) {
        case kCipherNone:
            settings_.applier.applyWepStatus(kWepOff);
            break;
        case kWep40:
        case kWep104:
            startWpa(kWepOn);
            break;
        case kCipherTkip:
            startWpa(kTkip);
            break;
        case kCipherCcmp:
            startWpa(kAes);
            break;
        default:
            break;  // WRAP and unknown ciphers: the adapter cannot take them
    }
}

void NetworkJoin::joinWpaAdHoc(const WpaSuiteTypes& wpa) {
    SettingApplier& applier = settings_.applier;
    applier.applyNetworkType(kAdHoc);
    if (wpa.keyManagement == kAkmNone) {
        reapplyAuthentication();
    } else if (wpa.keyManagement == kAkmPsk) {
        applier.applyAuthenticationMode(kWpaNone);
    }
    switch (wpa.pairwise) {
        case kCipherNone:
            applier.applyWepStatus(kWepOff);
            break;
        case kWep40:
        case kWep104:
            useWep();  // an ad-hoc cell has no key handshake: static WEP keys
            break;
        case kCipherTkip:
            startWpa(kTkip);
            break;
        case kCipherCcmp:
            startWpa(kAes);
            break;
        default:
            break;
    }
}

void NetworkJoin::joinPlain(std::uint32_t infrastructureMode, std::uint32_t privacy) {
    SettingApplier& applier = settings_.applier;
    if (infrastructureMode < kNetworkTypeLimit) {
        applier.applyNetworkType(static_cast<int>(infrastructureMode));
    }
    applier.applyAuthenticationMode(kAutoSwitch);
    if (privacy == 0) {
        applier.applyWepStatus(kWepOff);
    } else {
        useWep();
    }
}

void NetworkJoin::reapplyAuthentication() {
    const int current = settings_.library.QueryWL_AuthenticationMode(&settings_.adapter);
    settings_.applier.applyAuthenticationMode(
        current < 0 || current > kHighestAuthentication ? kAutoSwitch : current);
}

void NetworkJoin::startWpa(int wepStatus) {
    if (!usePrevious("WPA")) {
        window_.openWpaSettings();
    }
    // Whatever the dialog's end, the connection works from the stored settings.
    settings_.applier.applyWepStatus(wepStatus);
    settings_.wpa.startWpaConnection();
}

void NetworkJoin::useWep() {
    if (usePrevious("WEP")) {
        settings_.applier.reapplyWepKeys(1, kStoredTransmitKey);
        return;
    }
    settings_.applier.applyWepStatus(kWepOn);
    window_.openWepKeys();
}

bool NetworkJoin::usePrevious(const char* kind) {
    const std::string name(kind);
    const std::string prefix = "MP_" + name + "_Default_Message_";
    const std::string line1 = texts_.text(
        prefix + "Line_1", "You have selected to connect to the " + name + " encryption network.");
    const std::string line2 =
        texts_.text(prefix + "Line_2", "Do you want to use the previous " + name + " setting?");
    const std::string title = texts_.text(prefix + "Title", "Use Previous " + name + " Setting");
    const MessageAnswer answer = window_.askAboutPreviousSettings(MessageBox{
        line1 + "\n" + line2 + "\n", title, MessageButtons::YesNo, MessageIcon::Question});
    return answer != MessageAnswer::No;
}

}  // namespace rizorivu::ui
