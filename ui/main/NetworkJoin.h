#pragma once

#include <cstdint>
#include <span>

namespace rizorivu {
struct Configuration;
struct SettingsContext;
struct WpaSuiteTypes;
class LocalizedText;
}  // namespace rizorivu

namespace rizorivu::ui {

class ConnectWindow;

// Points the adapter at one surveyed network: channel (ad-hoc cells only), BSSID, SSID, network
// type, authentication, then encryption or keys, and last the WPA connection. What the record
// advertises (its privacy flag, RSN and WPA elements) chooses the security, WPA2 before WPA;
// where a key or WPA credentials are needed the user is asked whether the previous ones will do.
class NetworkJoin {
public:
    NetworkJoin(SettingsContext& settings, const Configuration& configuration,
                const LocalizedText& texts, ConnectWindow& window);

    // `record` is one whole survey record, as the survey walk hands it out.
    void join(std::span<const std::uint8_t> record);

    // The channel of an ad-hoc cell at `frequencyKhz`, or 0 outside the 2.4 GHz band.
    static int adHocChannel(std::uint32_t frequencyKhz);

private:
    void joinWpaInfrastructure(const WpaSuiteTypes& wpa);
    void joinWpa2Infrastructure(const WpaSuiteTypes& wpa2);
    // The encryption of a WPA or WPA2 access point's first pairwise cipher, with its question
    // and connection.
    void encryptByPairwise(int pairwise);
    void joinWpaAdHoc(const WpaSuiteTypes& wpa);
    void joinPlain(std::uint32_t infrastructureMode, std::uint32_t privacy);
    // The adapter's current authentication again, or automatic switch when it has none.
    void reapplyAuthentication();
    // The WPA question, the dialog on No, the cipher, and the connection.
    void startWpa(int wepStatus);
    // The WEP question: No opens the key dialog, Yes re-installs the stored keys.
    void useWep();
    bool usePrevious(const char* kind);

    SettingsContext& settings_;
    const Configuration& configuration_;
    const LocalizedText& texts_;
    ConnectWindow& window_;
};

}  // namespace rizorivu::ui
