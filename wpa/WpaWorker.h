#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterRecord.h"
#include "adapter/Dot1xLibrary.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "settings/LastSettings.h"
#include "settings/WpaConnection.h"
#include "wpa/RunFlag.h"
#include "wpa/SupplicantLoops.h"
#include "wpa/SurveyWpaElement.h"

namespace rizorivu::wpa {

// The WPA connection of the station's stored WPA settings, run on a thread of its own: at
// most one at a time. The worker collects what the supplicant needs (the access point's WPA
// element, or its RSN element for WPA2, from a survey of its own, the cipher, the method and
// the credentials from the station's last settings, whatever mode is current) and runs the
// supplicant loop of the method until stopped.
//
// The worker is built before the settings it reads, which hold it as their WPA connection;
// `attach` hands it the adapter record and the last settings once they exist, and `detach`
// stops it before they go away. Starting before `attach` does nothing.
class WpaWorker final : public WpaConnection {
public:
    // `eapFolder`: the user's private folder holding the exchange's certificate files.
    WpaWorker(AdapterLibrary& library, Clock& clock, const CodePage& ansi, Dot1xLibrary& dot1x,
              std::filesystem::path eapFolder);
    ~WpaWorker() override;
    WpaWorker(const WpaWorker&) = delete;
    WpaWorker& operator=(const WpaWorker&) = delete;

    void attach(AdapterRecord& adapter, const LastSettings& last);
    void detach();
    // The receiver may change while a worker runs: the notice is called under a lock.
    void onKeyNotExportable(KeyNotExportable notice) override;
    // For diagnostics only: receives the dumps of derived keys. Nothing receives them unless
    // set, so key material is never written anywhere by default.
    void onKeyDump(SupplicantLoops::KeyDump dump) { keyDump_ = std::move(dump); }

    // Interface thread only; never re-entered.
    void startWpaConnection() override;
    void stopWpaConnection() override;

    bool wzcStoppedForWpa() const { return wzcStoppedForWpa_; }
    bool hasWorker() const { return thread_.joinable(); }
    // True once the current worker's thread has returned, early or after a stop.
    bool workerEnded() const { return ended_.load(); }

private:
    void wpaConnectionWorker();
    std::optional<std::vector<std::uint8_t>> storeSurveyElement(
        std::span<const std::uint8_t, 6> bssid, SurveyElement which);
    std::string stationText(std::string_view name) const;
    std::int32_t stationInt(std::string_view name) const;
    std::string stationAnsi(std::string_view name, std::size_t maxBytes) const;

    AdapterLibrary& library_;
    Clock& clock_;
    const CodePage& ansi_;
    Dot1xLibrary& dot1x_;
    std::filesystem::path eapFolder_;
    AdapterRecord* adapter_ = nullptr;
    const LastSettings* last_ = nullptr;
    std::mutex noticeLock_;
    KeyNotExportable keyNotExportable_;
    SupplicantLoops::KeyDump keyDump_;
    RunFlag run_;
    bool wzcStoppedForWpa_ = false;
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

}  // namespace rizorivu::wpa
