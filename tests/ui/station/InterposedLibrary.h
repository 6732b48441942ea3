#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/AdapterLibrary.h"

namespace rizorivu::testing {

// An adapter library between the utility and the simulated one: it logs every operation by
// name, in order, and lets a test force an operation's answer (the inner library is then not
// called and no buffer is filled), refuse chosen SSIDs, or make the channel query answer a
// count of its own.
class InterposedLibrary final : public AdapterLibrary {
public:
    explicit InterposedLibrary(AdapterLibrary& inner) : inner_(inner) {}

    std::vector<std::string> calls;
    std::map<std::string, int, std::less<>> forced;
    // True refuses that SSID (-1) without passing it on.
    std::function<bool(std::string_view ssid)> refuseSsid;
    // When set, the channel query answers success with this count and channels 1, 2, ...
    // (as many as fit).
    std::optional<int> channelCount;

    // The logged names from `first` on, filtered to those starting with `prefix`.
    std::vector<std::string> callsFrom(std::size_t first, std::string_view prefix = {}) const {
        std::vector<std::string> out;
        for (std::size_t i = first; i < calls.size(); ++i) {
            if (calls[i].rfind(prefix, 0) == 0) {
                out.push_back(calls[i]);
            }
        }
        return out;
    }

    int SetWL_SSID(AdapterRecord* adapter, const std::uint8_t* ssid, int length) override {
        return pass("SetWL_SSID", [&] {
            const std::string_view text(reinterpret_cast<const char*>(ssid),
                                        static_cast<std::size_t>(length > 0 ? length : 0));
            return refuseSsid && refuseSsid(text) ? -1 : inner_.SetWL_SSID(adapter, ssid, length);
        });
    }
    int QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels,
                               int* count) override {
        return pass("QueryWL_SupportChannel", [&] {
            if (!channelCount) {
                return inner_.QueryWL_SupportChannel(adapter, channels, count);
            }
            for (int i = 0; i < *count && i < *channelCount; ++i) {
                channels[i] = static_cast<std::uint8_t>(i + 1);
            }
            *count = *channelCount;
            return 0;
        });
    }
    int CheckOSWinNT() override {
        return pass("CheckOSWinNT", [&] { return inner_.CheckOSWinNT(); });
    }
    int QueryWL_IsWindows95() override {
        return pass("QueryWL_IsWindows95", [&] { return inner_.QueryWL_IsWindows95(); });
    }
    int QV_GetOSVersion() override {
        return pass("QV_GetOSVersion", [&] { return inner_.QV_GetOSVersion(); });
    }
    int Query_FixWindisPnPBug() override {
        return pass("Query_FixWindisPnPBug", [&] { return inner_.Query_FixWindisPnPBug(); });
    }
    int CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) override {
        return pass("CreateAllNICAdapterList",
                    [&] { return inner_.CreateAllNICAdapterList(entries, capacity); });
    }
    int QvOpenAdapter(AdapterRecord* adapter) override {
        return pass("QvOpenAdapter", [&] { return inner_.QvOpenAdapter(adapter); });
    }
    int QvCloseAdapter(AdapterRecord* adapter) override {
        return pass("QvCloseAdapter", [&] { return inner_.QvCloseAdapter(adapter); });
    }
    int GetNICAdapterMAC(AdapterRecord* adapter,
                         std::span<std::uint8_t, adapterbuf::kMacBytes> mac) override {
        return pass("GetNICAdapterMAC", [&] { return inner_.GetNICAdapterMAC(adapter, mac); });
    }
    int QueryWL_DriverVersion(AdapterRecord* adapter) override {
        return pass("QueryWL_DriverVersion", [&] { return inner_.QueryWL_DriverVersion(adapter); });
    }
    int QueryWL_USBType(AdapterRecord* adapter) override {
        return pass("QueryWL_USBType", [&] { return inner_.QueryWL_USBType(adapter); });
    }
    int QueryWL_ConnectState(AdapterRecord* adapter) override {
        return pass("QueryWL_ConnectState", [&] { return inner_.QueryWL_ConnectState(adapter); });
    }
    int QueryWL_NetworkType(AdapterRecord* adapter) override {
        return pass("QueryWL_NetworkType", [&] { return inner_.QueryWL_NetworkType(adapter); });
    }
    int QueryWL_Channel(AdapterRecord* adapter) override {
        return pass("QueryWL_Channel", [&] { return inner_.QueryWL_Channel(adapter); });
    }
    int QueryWL_RSSI(AdapterRecord* adapter) override {
        return pass("QueryWL_RSSI", [&] { return inner_.QueryWL_RSSI(adapter); });
    }
    int QueryWL_CommQuality(AdapterRecord* adapter) override {
        return pass("QueryWL_CommQuality", [&] { return inner_.QueryWL_CommQuality(adapter); });
    }
    int QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) override {
        return pass("QueryWL_CurrentLinkSpeed",
                    [&] { return inner_.QueryWL_CurrentLinkSpeed(adapter); });
    }
    int QueryWL_WEPStatus(AdapterRecord* adapter) override {
        return pass("QueryWL_WEPStatus", [&] { return inner_.QueryWL_WEPStatus(adapter); });
    }
    int QueryWL_AuthenticationMode(AdapterRecord* adapter) override {
        return pass("QueryWL_AuthenticationMode",
                    [&] { return inner_.QueryWL_AuthenticationMode(adapter); });
    }
    int QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) override {
        return pass("QueryWL_OperationMode_STA_AP",
                    [&] { return inner_.QueryWL_OperationMode_STA_AP(adapter); });
    }
    int QueryWL_SSID(AdapterRecord* adapter,
                     std::span<std::uint8_t, adapterbuf::kSsidBytes> ssid) override {
        return pass("QueryWL_SSID", [&] { return inner_.QueryWL_SSID(adapter, ssid); });
    }
    int QueryWL_BSSID(AdapterRecord* adapter,
                      std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        return pass("QueryWL_BSSID", [&] { return inner_.QueryWL_BSSID(adapter, bssid); });
    }
    int GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) override {
        return pass("GetTxRxFrameCount", [&] { return inner_.GetTxRxFrameCount(adapter, counts); });
    }
    int SetWL_Channel(AdapterRecord* adapter, int channel) override {
        return pass("SetWL_Channel", [&] { return inner_.SetWL_Channel(adapter, channel); });
    }
    int SetWL_NetworkType(AdapterRecord* adapter, int networkType) override {
        return pass("SetWL_NetworkType",
                    [&] { return inner_.SetWL_NetworkType(adapter, networkType); });
    }
    int SetWL_BasicRate(AdapterRecord* adapter, int basicRate) override {
        return pass("SetWL_BasicRate", [&] { return inner_.SetWL_BasicRate(adapter, basicRate); });
    }
    int SetWL_DesiredRate(AdapterRecord* adapter,
                          std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) override {
        return pass("SetWL_DesiredRate", [&] { return inner_.SetWL_DesiredRate(adapter, rates); });
    }
    int SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) override {
        return pass("SetWL_WEPStatus", [&] { return inner_.SetWL_WEPStatus(adapter, wepStatus); });
    }
    int SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) override {
        return pass("SetWL_AuthenticationMode",
                    [&] { return inner_.SetWL_AuthenticationMode(adapter, mode); });
    }
    int SetWL_PSMode(AdapterRecord* adapter, int mode) override {
        return pass("SetWL_PSMode", [&] { return inner_.SetWL_PSMode(adapter, mode); });
    }
    int SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) override {
        return pass("SetWL_FragmentationThreshold",
                    [&] { return inner_.SetWL_FragmentationThreshold(adapter, bytes); });
    }
    int SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) override {
        return pass("SetWL_RTS_CTS_Threshold",
                    [&] { return inner_.SetWL_RTS_CTS_Threshold(adapter, bytes); });
    }
    int SetWL_PreambleMode(AdapterRecord* adapter, int mode) override {
        return pass("SetWL_PreambleMode", [&] { return inner_.SetWL_PreambleMode(adapter, mode); });
    }
    int SetWL_BSSID(AdapterRecord* adapter,
                    std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) override {
        return pass("SetWL_BSSID", [&] { return inner_.SetWL_BSSID(adapter, bssid); });
    }
    int SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) override {
        return pass("SetWL_OperationMode_STA_AP",
                    [&] { return inner_.SetWL_OperationMode_STA_AP(adapter, mode); });
    }
    int SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode, int isTransmitKey,
                       const std::uint8_t* keyBytes) override {
        return pass("SetWL_WriteKey", [&] {
            return inner_.SetWL_WriteKey(adapter, index, lengthCode, isTransmitKey, keyBytes);
        });
    }
    int QueryWL_OperationRegionCode(AdapterRecord* adapter) override {
        return pass("QueryWL_OperationRegionCode",
                    [&] { return inner_.QueryWL_OperationRegionCode(adapter); });
    }
    int QueryWL_MultiDomainCapability(AdapterRecord* adapter) override {
        return pass("QueryWL_MultiDomainCapability",
                    [&] { return inner_.QueryWL_MultiDomainCapability(adapter); });
    }
    int QueryWL_PSMode(AdapterRecord* adapter) override {
        return pass("QueryWL_PSMode", [&] { return inner_.QueryWL_PSMode(adapter); });
    }
    int QueryWL_FragmentationThreshold(AdapterRecord* adapter) override {
        return pass("QueryWL_FragmentationThreshold",
                    [&] { return inner_.QueryWL_FragmentationThreshold(adapter); });
    }
    int QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) override {
        return pass("QueryWL_RTS_CTS_Threshold",
                    [&] { return inner_.QueryWL_RTS_CTS_Threshold(adapter); });
    }
    int QueryWL_SupportedRate(AdapterRecord* adapter,
                              std::span<std::uint8_t, adapterbuf::kRateBytes> rates) override {
        return pass("QueryWL_SupportedRate",
                    [&] { return inner_.QueryWL_SupportedRate(adapter, rates); });
    }
    int SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) override {
        return pass("SetWL_OperationRegionCode",
                    [&] { return inner_.SetWL_OperationRegionCode(adapter, regionCode); });
    }
    int SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) override {
        return pass("SetWL_MultiDomainCapability",
                    [&] { return inner_.SetWL_MultiDomainCapability(adapter, enabled); });
    }
    int SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) override {
        return pass("SetWL_RegionAndSupportChannel",
                    [&] { return inner_.SetWL_RegionAndSupportChannel(adapter, regionCode); });
    }
    int SetWL_SupportChannel(AdapterRecord* adapter, const std::uint8_t* channels,
                             int count) override {
        return pass("SetWL_SupportChannel",
                    [&] { return inner_.SetWL_SupportChannel(adapter, channels, count); });
    }
    int SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) override {
        return pass("SetWLAP_HideSSIDState",
                    [&] { return inner_.SetWLAP_HideSSIDState(adapter, hidden); });
    }
    int SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) override {
        return pass("SetWLAP_TxPowerLevel",
                    [&] { return inner_.SetWLAP_TxPowerLevel(adapter, level); });
    }
    int SetWLAP_FilterMode(AdapterRecord* adapter, int mode) override {
        return pass("SetWLAP_FilterMode", [&] { return inner_.SetWLAP_FilterMode(adapter, mode); });
    }
    int SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list, int size) override {
        return pass("SetWLAP_FilterList",
                    [&] { return inner_.SetWLAP_FilterList(adapter, list, size); });
    }
    int WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        return pass("WL_RetrieveStationList",
                    [&] { return inner_.WL_RetrieveStationList(adapter, buffer, size); });
    }
    int WL_SiteSurveyStart(AdapterRecord* adapter) override {
        return pass("WL_SiteSurveyStart", [&] { return inner_.WL_SiteSurveyStart(adapter); });
    }
    int WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer, int size) override {
        return pass("WL_RetrieveSiteSurveyData",
                    [&] { return inner_.WL_RetrieveSiteSurveyData(adapter, buffer, size); });
    }
    int WL_FilteSiteSurveyData(AdapterRecord* adapter,
                               std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) override {
        return pass("WL_FilteSiteSurveyData",
                    [&] { return inner_.WL_FilteSiteSurveyData(adapter, buffer); });
    }
    int QueryWL_CheckWZCStatus(AdapterRecord* adapter) override {
        return pass("QueryWL_CheckWZCStatus",
                    [&] { return inner_.QueryWL_CheckWZCStatus(adapter); });
    }
    int SetWL_WZCStatus(AdapterRecord* adapter, int status) override {
        return pass("SetWL_WZCStatus", [&] { return inner_.SetWL_WZCStatus(adapter, status); });
    }
    int QVStartWZCService() override {
        return pass("QVStartWZCService", [&] { return inner_.QVStartWZCService(); });
    }
    int QVStopWZCService() override {
        return pass("QVStopWZCService", [&] { return inner_.QVStopWZCService(); });
    }
    int SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) override {
        return pass("SetWL_QVUseQVXOidState",
                    [&] { return inner_.SetWL_QVUseQVXOidState(adapter, state); });
    }
    int QueryWL_QVUseQVXOidState(AdapterRecord* adapter) override {
        return pass("QueryWL_QVUseQVXOidState",
                    [&] { return inner_.QueryWL_QVUseQVXOidState(adapter); });
    }
    int WriteOid(AdapterRecord* adapter, std::uint32_t oid, const std::uint8_t* data,
                 int length) override {
        return pass("WriteOid", [&] { return inner_.WriteOid(adapter, oid, data, length); });
    }
    std::shared_ptr<EapolPort> eapolPort(AdapterRecord* adapter) override {
        return inner_.eapolPort(adapter);
    }

private:
    template <class Call>
    int pass(const char* name, Call&& call) {
        calls.emplace_back(name);
        const auto it = forced.find(name);
        return it != forced.end() ? it->second : call();
    }

    AdapterLibrary& inner_;
};

}  // namespace rizorivu::testing
