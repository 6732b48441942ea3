#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
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
    int CheckOSWinNT() override {
        note("CheckOSWinNT");
        return inner_.CheckOSWinNT();
    }
    int QueryWL_IsWindows95() override {
        note("QueryWL_IsWindows95");
        return inner_.QueryWL_IsWindows95();
    }
    int QV_GetOSVersion() override {
        note("QV_GetOSVersion");
        return inner_.QV_GetOSVersion();
    }
    int Query_FixWindisPnPBug() override {
        note("Query_FixWindisPnPBug");
        return inner_.Query_FixWindisPnPBug();
    }
    int CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) override {
        note("CreateAllNICAdapterList");
        return inner_.CreateAllNICAdapterList(entries, capacity);
    }
    int QvOpenAdapter(AdapterRecord* adapter) override {
        note("QvOpenAdapter");
        return inner_.QvOpenAdapter(adapter);
    }
    int QvCloseAdapter(AdapterRecord* adapter) override {
        note("QvCloseAdapter");
        return inner_.QvCloseAdapter(adapter);
    }
    int GetNICAdapterMAC(AdapterRecord* adapter,
                         std::span<std::uint8_t, adapterbuf::kMacBytes> mac) override {
        note("GetNICAdapterMAC");
        return inner_.GetNICAdapterMAC(adapter, mac);
    }
    int QueryWL_DriverVersion(AdapterRecord* adapter) override {
        note("QueryWL_DriverVersion");
        return inner_.QueryWL_DriverVersion(adapter);
    }
    int QueryWL_USBType(AdapterRecord* adapter) override {
        note("QueryWL_USBType");
        return inner_.QueryWL_USBType(adapter);
    }
    int QueryWL_NetworkType(AdapterRecord* adapter) override {
        note("QueryWL_NetworkType");
        return inner_.QueryWL_NetworkType(adapter);
    }
    int QueryWL_Channel(AdapterRecord* adapter) override {
        note("QueryWL_Channel");
        return inner_.QueryWL_Channel(adapter);
    }
    int QueryWL_RSSI(AdapterRecord* adapter) override {
        note("QueryWL_RSSI");
        return inner_.QueryWL_RSSI(adapter);
    }
    int QueryWL_CommQuality(AdapterRecord* adapter) override {
        note("QueryWL_CommQuality");
        return inner_.QueryWL_CommQuality(adapter);
    }
    int QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) override {
        note("QueryWL_CurrentLinkSpeed");
        return inner_.QueryWL_CurrentLinkSpeed(adapter);
    }
    int QueryWL_WEPStatus(AdapterRecord* adapter) override {
        note("QueryWL_WEPStatus");
        return inner_.QueryWL_WEPStatus(adapter);
    }
    int QueryWL_AuthenticationMode(AdapterRecord* adapter) override {
        note("QueryWL_AuthenticationMode");
        return inner_.QueryWL_AuthenticationMode(adapter);
    }
    int QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) override {
        note("QueryWL_OperationMode_STA_AP");
        return inner_.QueryWL_OperationMode_STA_AP(adapter);
    }
    int QueryWL_BSSID(AdapterRecord* adapter,
                      std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        note("QueryWL_BSSID");
        return inner_.QueryWL_BSSID(adapter, bssid);
    }
    int GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) override {
        note("GetTxRxFrameCount");
        return inner_.GetTxRxFrameCount(adapter, counts);
    }
    int SetWL_Channel(AdapterRecord* adapter, int channel) override {
        note("SetWL_Channel");
        return inner_.SetWL_Channel(adapter, channel);
    }
    int SetWL_NetworkType(AdapterRecord* adapter, int networkType) override {
        note("SetWL_NetworkType");
        return inner_.SetWL_NetworkType(adapter, networkType);
    }
    int SetWL_BasicRate(AdapterRecord* adapter, int basicRate) override {
        note("SetWL_BasicRate");
        return inner_.SetWL_BasicRate(adapter, basicRate);
    }
    int SetWL_DesiredRate(AdapterRecord* adapter,
                          std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) override {
        note("SetWL_DesiredRate");
        return inner_.SetWL_DesiredRate(adapter, rates);
    }
    int SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) override {
        note("SetWL_WEPStatus");
        return inner_.SetWL_WEPStatus(adapter, wepStatus);
    }
    int SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) override {
        note("SetWL_AuthenticationMode");
        return inner_.SetWL_AuthenticationMode(adapter, mode);
    }
    int SetWL_PSMode(AdapterRecord* adapter, int mode) override {
        note("SetWL_PSMode");
        return inner_.SetWL_PSMode(adapter, mode);
    }
    int SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) override {
        note("SetWL_FragmentationThreshold");
        return inner_.SetWL_FragmentationThreshold(adapter, bytes);
    }
    int SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) override {
        note("SetWL_RTS_CTS_Threshold");
        return inner_.SetWL_RTS_CTS_Threshold(adapter, bytes);
    }
    int SetWL_PreambleMode(AdapterRecord* adapter, int mode) override {
        note("SetWL_PreambleMode");
        return inner_.SetWL_PreambleMode(adapter, mode);
    }
    int SetWL_BSSID(AdapterRecord* adapter,
                    std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        note("SetWL_BSSID");
        return inner_.SetWL_BSSID(adapter, bssid);
    }
    int SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) override {
        note("SetWL_OperationMode_STA_AP");
        return inner_.SetWL_OperationMode_STA_AP(adapter, mode);
    }
    int SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode, int isTransmitKey,
                       const std::uint8_t* keyBytes) override {
        note("SetWL_WriteKey");
        return inner_.SetWL_WriteKey(adapter, index, lengthCode, isTransmitKey, keyBytes);
    }
    int QueryWL_OperationRegionCode(AdapterRecord* adapter) override {
        note("QueryWL_OperationRegionCode");
        return inner_.QueryWL_OperationRegionCode(adapter);
    }
    int QueryWL_MultiDomainCapability(AdapterRecord* adapter) override {
        note("QueryWL_MultiDomainCapability");
        return inner_.QueryWL_MultiDomainCapability(adapter);
    }
    int QueryWL_PSMode(AdapterRecord* adapter) override {
        note("QueryWL_PSMode");
        return inner_.QueryWL_PSMode(adapter);
    }
    int QueryWL_FragmentationThreshold(AdapterRecord* adapter) override {
        note("QueryWL_FragmentationThreshold");
        return inner_.QueryWL_FragmentationThreshold(adapter);
    }
    int QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) override {
        note("QueryWL_RTS_CTS_Threshold");
        return inner_.QueryWL_RTS_CTS_Threshold(adapter);
    }
    int QueryWL_SupportedRate(AdapterRecord* adapter,
                              std::span<std::uint8_t, adapterbuf::kRateBytes> rates) override {
        note("QueryWL_SupportedRate");
        return inner_.QueryWL_SupportedRate(adapter, rates);
    }
    int QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels,
                               int* count) override {
        note("QueryWL_SupportChannel");
        return inner_.QueryWL_SupportChannel(adapter, channels, count);
    }
    int SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) override {
        note("SetWL_OperationRegionCode");
        return inner_.SetWL_OperationRegionCode(adapter, regionCode);
    }
    int SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) override {
        note("SetWL_MultiDomainCapability");
        return inner_.SetWL_MultiDomainCapability(adapter, enabled);
    }
    int SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) override {
        note("SetWL_RegionAndSupportChannel");
        return inner_.SetWL_RegionAndSupportChannel(adapter, regionCode);
    }
    int SetWL_SupportChannel(AdapterRecord* adapter, const std::uint8_t* channels,
                             int count) override {
        note("SetWL_SupportChannel");
        return inner_.SetWL_SupportChannel(adapter, channels, count);
    }
    int SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) override {
        note("SetWLAP_HideSSIDState");
        return inner_.SetWLAP_HideSSIDState(adapter, hidden);
    }
    int SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) override {
        note("SetWLAP_TxPowerLevel");
        return inner_.SetWLAP_TxPowerLevel(adapter, level);
    }
    int SetWLAP_FilterMode(AdapterRecord* adapter, int mode) override {
        note("SetWLAP_FilterMode");
        return inner_.SetWLAP_FilterMode(adapter, mode);
    }
    int SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list, int size) override {
        note("SetWLAP_FilterList");
        return inner_.SetWLAP_FilterList(adapter, list, size);
    }
    int WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        note("WL_RetrieveStationList");
        return inner_.WL_RetrieveStationList(adapter, buffer, size);
    }
    int WL_SiteSurveyStart(AdapterRecord* adapter) override {
        note("WL_SiteSurveyStart");
        return inner_.WL_SiteSurveyStart(adapter);
    }
    int WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        note("WL_RetrieveSiteSurveyData");
        return inner_.WL_RetrieveSiteSurveyData(adapter, buffer, size);
    }
    int WL_FilteSiteSurveyData(AdapterRecord* adapter,
                               std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) override {
        note("WL_FilteSiteSurveyData");
        return inner_.WL_FilteSiteSurveyData(adapter, buffer);
    }
    int SetWL_WZCStatus(AdapterRecord* adapter, int status) override {
        note("SetWL_WZCStatus");
        return inner_.SetWL_WZCStatus(adapter, status);
    }
    int QVStartWZCService() override {
        note("QVStartWZCService");
        return inner_.QVStartWZCService();
    }
    int QVStopWZCService() override {
        note("QVStopWZCService");
        return inner_.QVStopWZCService();
    }
    int SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) override {
        note("SetWL_QVUseQVXOidState");
        return inner_.SetWL_QVUseQVXOidState(adapter, state);
    }
    int QueryWL_QVUseQVXOidState(AdapterRecord* adapter) override {
        note("QueryWL_QVUseQVXOidState");
        return inner_.QueryWL_QVUseQVXOidState(adapter);
    }
    EapolPort* eapolPort(AdapterRecord* adapter) override {
        note("eapolPort");
        return inner_.eapolPort(adapter);
    }

private:
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
