#include "wpa/WpaWorker.h"

#include <array>
#include <vector>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "platform/Unicode.h"
#include "settings/HexText.h"
#include "settings/OperatingMode.h"
#include "settings/SettingNames.h"
#include "wpa/AnsiText.h"
#include "wpa/CipherTables.h"
#include "wpa/EapolConfigs.h"
#include "wpa/SurveyWpaElement.h"

namespace rizorivu::wpa {

namespace {

constexpr int kWzcLeftToService = 2;
// Room for one whole element: id, length byte and up to 255 body bytes.
constexpr std::size_t kElementBytes = 257;
// A WPA passphrase is 8 to 63 characters; the mapping is never given more.
constexpr std::size_t kPassphraseBytes = 63;
constexpr std::size_t kCertificateChars = 255;

}  // namespace

WpaWorker::WpaWorker(AdapterLibrary& library, Clock& clock, const CodePage& ansi,
                     Dot1xLibrary& dot1x, std::filesystem::path eapFolder)
    : library_(library),
      clock_(clock),
      ansi_(ansi),
      dot1x_(dot1x),
      eapFolder_(std::move(eapFolder)) {}

WpaWorker::~WpaWorker() {
    detach();
}

void WpaWorker::onKeyNotExportable(KeyNotExportable notice) {
    const std::lock_guard lock(noticeLock_);
    keyNotExportable_ = std::move(notice);
}

void WpaWorker::attach(AdapterRecord& adapter, const LastSettings& last) {
    detach();
    adapter_ = &adapter;
    last_ = &last;
}

void WpaWorker::detach() {
    stopWpaConnection();
    // A worker that ended early leaves the flag set; it has been waited for above.
    adapter_ = nullptr;
    last_ = nullptr;
}

void WpaWorker::startWpaConnection() {
    if (run_.isSet() || thread_.joinable()) {
        run_.clear();
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    if (adapter_ == nullptr || last_ == nullptr) {
        return;
    }
    run_.set();
    if (library_.QueryWL_CheckWZCStatus(adapter_) != kWzcLeftToService) {
        wzcStoppedForWpa_ = true;
        library_.QVStopWZCService();
    }
    ended_.store(false);
    thread_ = std::thread([this] {
        wpaConnectionWorker();
        ended_.store(true);
    });
}

void WpaWorker::stopWpaConnection() {
    if (!run_.isSet() && !thread_.joinable()) {
        return;
    }
    run_.clear();
    if (thread_.joinable()) {
        thread_.join();
    }
    if (wzcStoppedForWpa_) {
        wzcStoppedForWpa_ = false;
        library_.QVStartWZCService();
    }
}

void WpaWorker::wpaConnectionWorker() {
    // Files the library needs are named by full path in the private folder: the working
    // directory is the whole process's and stays as it is.
    SupplicantLoops loops(library_, *adapter_, dot1x_, clock_, run_, keyDump_);
    loops.waitForLink();
    if (!run_.isSet()) {
        return;
    }
    SupplicantTarget target;
    if (library_.GetNICAdapterMAC(adapter_, target.ownMac) != 0 ||
        library_.QueryWL_BSSID(adapter_, target.bssid) != 0) {
        return;
    }
    const std::string ssid = stationAnsi(settingname::kSsid, adapterbuf::kSsidBytes);
    // A WPA2 mode speaks with the access point's RSN element, every other with its WPA element.
    target.authenticationMode = stationInt(settingname::kAuthenticationMode);
    const auto element = storeSurveyElement(
        target.bssid, isWpa2(fromDriver<AuthenticationMode>(target.authenticationMode))
                          ? SurveyElement::Rsn
                          : SurveyElement::Wpa);
    if (!element || !run_.isSet()) {
        return;
    }
    // The element is taken as stored, so that the worker and the settings agree on it.
    std::array<std::uint8_t, kElementBytes> stored{};
    const std::size_t storedBytes = HexTextToBytes(stationText(settingname::kDot1xWpaIes), stored);
    if (storedBytes == 0) {
        return;
    }
    target.wpaElement.assign(stored.begin(), stored.begin() + storedBytes);

    const auto cipher =
        cipherCodeOf(stationInt(settingname::kWepStatus), stationInt(settingname::kWepKeyLength));
    const auto method =
        methodOf(target.authenticationMode, stationInt(settingname::kDot1xProtocol));
    if (!cipher || !method) {
        return;
    }
    target.cipherCode = *cipher;

    const std::string identity =
        stationAnsi(settingname::kDot1xUsername, eapolfield::kIdentityBytes);
    const std::u16string subject =
        utf8ToUtf16(utf8Prefix(stationText(settingname::kDot1xCertSubject), kCertificateChars));
    const std::u16string issuer =
        utf8ToUtf16(utf8Prefix(stationText(settingname::kDot1xCertIssuer), kCertificateChars));
    switch (*method) {
        case SupplicantMethod::Tls:
            if (dot1x_.genMyCertFile(subject, issuer) != 0) {
                const std::lock_guard lock(noticeLock_);
                if (keyNotExportable_) {
                    keyNotExportable_();
                }
                return;
            }
            if (dot1x_.genMySSLFile() != 0) {
                return;
            }
            loops.runWpaTls(tlsEapolConfig(identity, eapFolder_), target);
            break;
        case SupplicantMethod::Peap:
            if (dot1x_.genROOTCertFile(subject, issuer) != 0 || dot1x_.genROOTSSLFile() != 0) {
                return;
            }
            loops.runWpaPeap(
                peapEapolConfig(
                    identity, stationAnsi(settingname::kDot1xPassword, eapolfield::kPasswordBytes),
                    eapFolder_),
                target);
            break;
        case SupplicantMethod::PreSharedKey:
            loops.runWpaPsk(ssid, stationAnsi(settingname::kDot1xPassphrase, kPassphraseBytes),
                            target);
            break;
    }
}

std::optional<std::vector<std::uint8_t>> WpaWorker::storeSurveyElement(
    std::span<const std::uint8_t, 6> bssid, SurveyElement which) {
    // A survey of the worker's own: the main window's buffer belongs to the interface thread.
    std::vector<std::uint8_t> survey(adapterbuf::kSurveyBytes, 0);
    if (library_.WL_RetrieveSiteSurveyData(adapter_, survey.data(),
                                           static_cast<int>(survey.size())) == -1) {
        return std::nullopt;
    }
    library_.WL_FilteSiteSurveyData(
        adapter_, std::span<std::uint8_t, adapterbuf::kSurveyBytes>(survey.data(), survey.size()));
    auto element = surveyWpaElement(survey, bssid, which);
    if (element) {
        last_->writeLastSetting(OperatingMode::kStation, settingname::kDot1xWpaIes,
                                BytesToHexText(*element));
    }
    return element;
}

std::string WpaWorker::stationText(std::string_view name) const {
    return last_->lastSettingText(OperatingMode::kStation, name);
}

std::int32_t WpaWorker::stationInt(std::string_view name) const {
    const std::string text = stationText(name);
    return text.empty() ? -1 : decimalTextToInt(text);
}

std::string WpaWorker::stationAnsi(std::string_view name, std::size_t maxBytes) const {
    return boundedAnsi(ansi_, stationText(name), maxBytes);
}

}  // namespace rizorivu::wpa
