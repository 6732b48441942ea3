#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "adapter/AdapterLibrary.h"

namespace rizorivu::testing {

// An adapter library in front of the simulated one for the WPA worker's tests, usable from
// the worker's thread and the test's at once: it logs the operations by name, keeps the
// records written with WriteOid, and lets a test force the link state, the Zero
// Configuration status and the SSID query's answer.
class WatchedLibrary final : public AdapterLibrary {
public:
    explicit WatchedLibrary(AdapterLibrary& inner) : inner_(inner) {}

    // When set, QueryWL_ConnectState answers it without asking the adapter.
    std::atomic<int> forcedConnectState{kNotForced};
    std::atomic<int> forcedWzcStatus{kNotForced};
    std::atomic<int> forcedSsidLength{kNotForced};
    static constexpr int kNotForced = -1000;

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::size_t count(std::string_view name) const {
        std::lock_guard lock(mutex_);
        std::size_t n = 0;
        for (const auto& call : calls_) {
            n += call == name ? 1 : 0;
        }
        return n;
    }
    std::vector<std::vector<std::uint8_t>> oidRecords() const {
        std::lock_guard lock(mutex_);
        return oidRecords_;
    }
    std::vector<std::vector<std::uint8_t>> ssidsSet() const {
        std::lock_guard lock(mutex_);
        return ssidsSet_;
    }

    int QueryWL_ConnectState(AdapterRecord* adapter) override {
        note("QueryWL_ConnectState");
        const int forced = forcedConnectState.load();
        return forced != kNotForced ? forced : inner_.QueryWL_ConnectState(adapter);
    }
    int QueryWL_CheckWZCStatus(AdapterRecord* adapter) override {
        note("QueryWL_CheckWZCStatus");
        const int forced = forcedWzcStatus.load();
        return forced != kNotForced ? forced : inner_.QueryWL_CheckWZCStatus(adapter);
    }
    int QueryWL_SSID(AdapterRecord* adapter,
                     std::span<std::uint8_t, adapterbuf::kSsidBytes> ssid) override {
        note("QueryWL_SSID");
        const int forced = forcedSsidLength.load();
        return forced != kNotForced ? forced : inner_.QueryWL_SSID(adapter, ssid);
    }
    int SetWL_SSID(AdapterRecord* adapter, const std::uint8_t* ssid, int length) override {
        {
            std::lock_guard lock(mutex_);
            calls_.emplace_back("SetWL_SSID");
            ssidsSet_.emplace_back(ssid, ssid + (length > 0 ? length : 0));
        }
        return inner_.SetWL_SSID(adapter, ssid, length);
    }
    int WriteOid(AdapterRecord* adapter, std::uint32_t oid, const std::uint8_t* data,
                 int length) override {
        {
            std::lock_guard lock(mutex_);
            calls_.emplace_back("WriteOid");
            oidRecords_.emplace_back(data, data + (length > 0 ? length : 0));
        }
        return inner_.WriteOid(adapter, oid, data, length);
    }
    int CheckOSWinNT() override { return via("CheckOSWinNT", &AdapterLibrary::CheckOSWinNT); }
    int QueryWL_IsWindows95() override {
        return via("QueryWL_IsWindows95", &AdapterLibrary::QueryWL_IsWindows95);
    }
    int QV_GetOSVersion() override {
        return via("QV_GetOSVersion", &AdapterLibrary::QV_GetOSVersion);
    }
    int Query_FixWindisPnPBug() override {
        return via("Query_FixWindisPnPBug", &AdapterLibrary::Query_FixWindisPnPBug);
    }
    int CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) override {
        return via("CreateAllNICAdapterList", &AdapterLibrary::CreateAllNICAdapterList, entries,
                   capacity);
    }
    int QvOpenAdapter(AdapterRecord* adapter) override {
        return via("QvOpenAdapter", &AdapterLibrary::QvOpenAdapter, adapter);
    }
    int QvCloseAdapter(AdapterRecord* adapter) override {
        return via("QvCloseAdapter", &AdapterLibrary::QvCloseAdapter, adapter);
    }
    int GetNICAdapterMAC(AdapterRecord* adapter,
                         std::span<std::uint8_t, adapterbuf::kMacBytes> mac) override {
        return via("GetNICAdapterMAC", &AdapterLibrary::GetNICAdapterMAC, adapter, mac);
    }
    int QueryWL_DriverVersion(AdapterRecord* adapter) override {
        return via("QueryWL_DriverVersion", &AdapterLibrary::QueryWL_DriverVersion, adapter);
    }
    int QueryWL_USBType(AdapterRecord* adapter) override {
        return via("QueryWL_USBType", &AdapterLibrary::QueryWL_USBType, adapter);
    }
    int QueryWL_NetworkType(AdapterRecord* adapter) override {
        return via("QueryWL_NetworkType", &AdapterLibrary::QueryWL_NetworkType, adapter);
    }
    int QueryWL_Channel(AdapterRecord* adapter) override {
        return via("QueryWL_Channel", &AdapterLibrary::QueryWL_Channel, adapter);
    }
    int QueryWL_RSSI(AdapterRecord* adapter) override {
        return via("QueryWL_RSSI", &AdapterLibrary::QueryWL_RSSI, adapter);
    }
    int QueryWL_CommQuality(AdapterRecord* adapter) override {
        return via("QueryWL_CommQuality", &AdapterLibrary::QueryWL_CommQuality, adapter);
    }
    int QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) override {
        return via("QueryWL_CurrentLinkSpeed", &AdapterLibrary::QueryWL_CurrentLinkSpeed, adapter);
    }
    int QueryWL_WEPStatus(AdapterRecord* adapter) override {
        return via("QueryWL_WEPStatus", &AdapterLibrary::QueryWL_WEPStatus, adapter);
    }
    int QueryWL_AuthenticationMode(AdapterRecord* adapter) override {
        return via("QueryWL_AuthenticationMode", &AdapterLibrary::QueryWL_AuthenticationMode,
                   adapter);
    }
    int QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) override {
        return via("QueryWL_OperationMode_STA_AP", &AdapterLibrary::QueryWL_OperationMode_STA_AP,
                   adapter);
    }
    int QueryWL_BSSID(AdapterRecord* adapter,
                      std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        return via("QueryWL_BSSID", &AdapterLibrary::QueryWL_BSSID, adapter, bssid);
    }
    int GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) override {
        return via("GetTxRxFrameCount", &AdapterLibrary::GetTxRxFrameCount, adapter, counts);
    }
    int SetWL_Channel(AdapterRecord* adapter, int channel) override {
        return via("SetWL_Channel", &AdapterLibrary::SetWL_Channel, adapter, channel);
    }
    int SetWL_NetworkType(AdapterRecord* adapter, int networkType) override {
        return via("SetWL_NetworkType", &AdapterLibrary::SetWL_NetworkType, adapter, networkType);
    }
    int SetWL_BasicRate(AdapterRecord* adapter, int basicRate) override {
        return via("SetWL_BasicRate", &AdapterLibrary::SetWL_BasicRate, adapter, basicRate);
    }
    int SetWL_DesiredRate(AdapterRecord* adapter,
                          std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) override {
        return via("SetWL_DesiredRate", &AdapterLibrary::SetWL_DesiredRate, adapter, rates);
    }
    int SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) override {
        return via("SetWL_WEPStatus", &AdapterLibrary::SetWL_WEPStatus, adapter, wepStatus);
    }
    int SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) override {
        return via("SetWL_AuthenticationMode", &AdapterLibrary::SetWL_AuthenticationMode, adapter,
                   mode);
    }
    int SetWL_PSMode(AdapterRecord* adapter, int mode) override {
        return via("SetWL_PSMode", &AdapterLibrary::SetWL_PSMode, adapter, mode);
    }
    int SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) override {
        return via("SetWL_FragmentationThreshold", &AdapterLibrary::SetWL_FragmentationThreshold,
                   adapter, bytes);
    }
    int SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) override {
        return via("SetWL_RTS_CTS_Threshold", &AdapterLibrary::SetWL_RTS_CTS_Threshold, adapter,
                   bytes);
    }
    int SetWL_PreambleMode(AdapterRecord* adapter, int mode) override {
        return via("SetWL_PreambleMode", &AdapterLibrary::SetWL_PreambleMode, adapter, mode);
    }
    int SetWL_BSSID(AdapterRecord* adapter,
                    std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        return via("SetWL_BSSID", &AdapterLibrary::SetWL_BSSID, adapter, bssid);
    }
    int SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) override {
        return via("SetWL_OperationMode_STA_AP", &AdapterLibrary::SetWL_OperationMode_STA_AP,
                   adapter, mode);
    }
    int SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode, int isTransmitKey,
                       const std::uint8_t* keyBytes) override {
        return via("SetWL_WriteKey", &AdapterLibrary::SetWL_WriteKey, adapter, index, lengthCode,
                   isTransmitKey, keyBytes);
    }
    int QueryWL_OperationRegionCode(AdapterRecord* adapter) override {
        return via("QueryWL_OperationRegionCode", &AdapterLibrary::QueryWL_OperationRegionCode,
                   adapter);
    }
    int QueryWL_MultiDomainCapability(AdapterRecord* adapter) override {
        return via("QueryWL_MultiDomainCapability", &AdapterLibrary::QueryWL_MultiDomainCapability,
                   adapter);
    }
    int QueryWL_PSMode(AdapterRecord* adapter) override {
        return via("QueryWL_PSMode", &AdapterLibrary::QueryWL_PSMode, adapter);
    }
    int QueryWL_FragmentationThreshold(AdapterRecord* adapter) override {
        return via("QueryWL_FragmentationThreshold",
                   &AdapterLibrary::QueryWL_FragmentationThreshold, adapter);
    }
    int QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) override {
        return via("QueryWL_RTS_CTS_Threshold", &AdapterLibrary::QueryWL_RTS_CTS_Threshold,
                   adapter);
    }
    int QueryWL_SupportedRate(AdapterRecord* adapter,
                              std::span<std::uint8_t, adapterbuf::kRateBytes> rates) override {
        return via("QueryWL_SupportedRate", &AdapterLibrary::QueryWL_SupportedRate, adapter, rates);
    }
    int QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels,
                               int* count) override {
        return via("QueryWL_SupportChannel", &AdapterLibrary::QueryWL_SupportChannel, adapter,
                   channels, count);
    }
    int SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) override {
        return via("SetWL_OperationRegionCode", &AdapterLibrary::SetWL_OperationRegionCode, adapter,
                   regionCode);
    }
    int SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) override {
        return via("SetWL_MultiDomainCapability", &AdapterLibrary::SetWL_MultiDomainCapability,
                   adapter, enabled);
    }
    int SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) override {
        return via("SetWL_RegionAndSupportChannel", &AdapterLibrary::SetWL_RegionAndSupportChannel,
                   adapter, regionCode);
    }
    int SetWL_SupportChannel(AdapterRecord* adapter, const std::uint8_t* channels,
                             int count) override {
        return via("SetWL_SupportChannel", &AdapterLibrary::SetWL_SupportChannel, adapter, channels,
                   count);
    }
    int SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) override {
        return via("SetWLAP_HideSSIDState", &AdapterLibrary::SetWLAP_HideSSIDState, adapter,
                   hidden);
    }
    int SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) override {
        return via("SetWLAP_TxPowerLevel", &AdapterLibrary::SetWLAP_TxPowerLevel, adapter, level);
    }
    int SetWLAP_FilterMode(AdapterRecord* adapter, int mode) override {
        return via("SetWLAP_FilterMode", &AdapterLibrary::SetWLAP_FilterMode, adapter, mode);
    }
    int SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list, int size) override {
        return via("SetWLAP_FilterList", &AdapterLibrary::SetWLAP_FilterList, adapter, list, size);
    }
    int WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        return via("WL_RetrieveStationList", &AdapterLibrary::WL_RetrieveStationList, adapter,
                   buffer, size);
    }
    int WL_SiteSurveyStart(AdapterRecord* adapter) override {
        return via("WL_SiteSurveyStart", &AdapterLibrary::WL_SiteSurveyStart, adapter);
    }
    int WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        return via("WL_RetrieveSiteSurveyData", &AdapterLibrary::WL_RetrieveSiteSurveyData, adapter,
                   buffer, size);
    }
    int WL_FilteSiteSurveyData(AdapterRecord* adapter,
                               std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) override {
        return via("WL_FilteSiteSurveyData", &AdapterLibrary::WL_FilteSiteSurveyData, adapter,
                   buffer);
    }
    int SetWL_WZCStatus(AdapterRecord* adapter, int status) override {
        return via("SetWL_WZCStatus", &AdapterLibrary::SetWL_WZCStatus, adapter, status);
    }
    int QVStartWZCService() override {
        return via("QVStartWZCService", &AdapterLibrary::QVStartWZCService);
    }
    int QVStopWZCService() override {
        return via("QVStopWZCService", &AdapterLibrary::QVStopWZCService);
    }
    int SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) override {
        return via("SetWL_QVUseQVXOidState", &AdapterLibrary::SetWL_QVUseQVXOidState, adapter,
                   state);
    }
    int QueryWL_QVUseQVXOidState(AdapterRecord* adapter) override {
        return via("QueryWL_QVUseQVXOidState", &AdapterLibrary::QueryWL_QVUseQVXOidState, adapter);
    }
    std::shared_ptr<EapolPort> eapolPort(AdapterRecord* adapter) override {
        return via("eapolPort", &AdapterLibrary::eapolPort, adapter);
    }

private:
    // Logs `name` and passes the call on to the simulated library.
    template <typename Method, typename... Args>
    std::invoke_result_t<Method, AdapterLibrary&, Args...> via(const char* name, Method method,
                                                               Args... args) {
        note(name);
        return (inner_.*method)(args...);
    }

    void note(const char* name) {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(name);
    }

    AdapterLibrary& inner_;
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<std::vector<std::uint8_t>> oidRecords_;
    std::vector<std::vector<std::uint8_t>> ssidsSet_;
};

}  // namespace rizorivu::testing
