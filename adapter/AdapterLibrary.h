#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "adapter/AdapterRecord.h"
#include "adapter/EapolPort.h"

namespace rizorivu {

// Sizes of the buffers the adapter library fills or reads.
namespace adapterbuf {
constexpr std::size_t kMacBytes = 6;
constexpr std::size_t kSsidBytes = 32;
constexpr std::size_t kRateBytes = 16;          // one rate a byte, units of 500 kbit/s
constexpr std::size_t kSurveyBytes = 12004;     // count, then BSSID list records
constexpr std::size_t kStationListBytes = 112;  // 16 entries: in-use byte + MAC
constexpr std::size_t kFilterListBytes = 112;   // the same layout as the station list
constexpr std::size_t kMaxChannels = 100;
constexpr std::uint32_t kOidAddKey = 0xFF12FF1D;  // WriteOid: install a WPA key
}  // namespace adapterbuf

// Transmitted and received frame counts, as GetTxRxFrameCount answers them.
struct FrameCounts {
    std::uint32_t transmitted = 0;
    std::uint32_t received = 0;
};

// Everything the utility asks of the adapter's driver. Queries answer -1 for "no value";
// setters answer 0 for an accepted setting and non-zero otherwise. Operations that fill a
// caller's buffer (MAC, BSSID, station list, survey, filter) answer 0 when they filled it and
// -1 otherwise; QvCloseAdapter answers 0, or -1 when nothing was open. Nearly every operation
// takes the open adapter's record first. Implementations are used from the interface thread
// and the WPA worker at once and synchronise inside.
//
// The names are the driver library's own, so that the operations read as the driver's
// documentation lists them.
class AdapterLibrary {
public:
    virtual ~AdapterLibrary() = default;

    // Environment: the operating system as the driver sees it.
    virtual int CheckOSWinNT() = 0;           // non-zero: NT family
    virtual int QueryWL_IsWindows95() = 0;    // non-zero: Windows 9x
    virtual int QV_GetOSVersion() = 0;        // an OS code; 7 gets special handling
    virtual int Query_FixWindisPnPBug() = 0;  // non-zero: defer card-bus adapters

    // Adapter list: fills up to `capacity` entries and answers how many; 0 when none.
    virtual int CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) = 0;
    // Non-zero on success.
    virtual int QvOpenAdapter(AdapterRecord* adapter) = 0;
    virtual int QvCloseAdapter(AdapterRecord* adapter) = 0;

    // Identity.
    virtual int GetNICAdapterMAC(AdapterRecord* adapter,
                                 std::span<std::uint8_t, adapterbuf::kMacBytes> mac) = 0;
    // Packed version (major, minor, year - 2000, month, BCD day); -1 when the adapter is gone.
    virtual int QueryWL_DriverVersion(AdapterRecord* adapter) = 0;
    // 0: USB 1.1 (limited rates), 1: USB 2.0.
    virtual int QueryWL_USBType(AdapterRecord* adapter) = 0;

    // Link status.
    virtual int QueryWL_ConnectState(AdapterRecord* adapter) = 0;  // 0 = connected
    virtual int QueryWL_NetworkType(AdapterRecord* adapter) = 0;
    virtual int QueryWL_Channel(AdapterRecord* adapter) = 0;
    virtual int QueryWL_RSSI(AdapterRecord* adapter) = 0;              // dBm
    virtual int QueryWL_CommQuality(AdapterRecord* adapter) = 0;       // percent
    virtual int QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) = 0;  // units of 1000 bit/s
    virtual int QueryWL_WEPStatus(AdapterRecord* adapter) = 0;
    virtual int QueryWL_AuthenticationMode(AdapterRecord* adapter) = 0;
    virtual int QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) = 0;  // 0 station, 1 AP
    // Answers the SSID's length and fills its bytes.
    virtual int QueryWL_SSID(AdapterRecord* adapter,
                             std::span<std::uint8_t, adapterbuf::kSsidBytes> ssid) = 0;
    virtual int QueryWL_BSSID(AdapterRecord* adapter,
                              std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) = 0;
    virtual int GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) = 0;

    // Station settings.
    virtual int SetWL_SSID(AdapterRecord* adapter, const std::uint8_t* ssid, int length) = 0;
    virtual int SetWL_Channel(AdapterRecord* adapter, int channel) = 0;
    virtual int SetWL_NetworkType(AdapterRecord* adapter, int networkType) = 0;
    virtual int SetWL_BasicRate(AdapterRecord* adapter, int basicRate) = 0;
    virtual int SetWL_DesiredRate(AdapterRecord* adapter,
                                  std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) = 0;
    virtual int SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) = 0;
    virtual int SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) = 0;
    virtual int SetWL_PSMode(AdapterRecord* adapter, int mode) = 0;
    virtual int SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) = 0;
    virtual int SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) = 0;
    virtual int SetWL_PreambleMode(AdapterRecord* adapter, int mode) = 0;
    virtual int SetWL_BSSID(AdapterRecord* adapter,
                            std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) = 0;
    // -1 on failure.
    virtual int SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) = 0;
    // Key `index` 0-3 of length code 0 (5 bytes), 1 (13) or 2 (29).
    virtual int SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode, int isTransmitKey,
                               const std::uint8_t* keyBytes) = 0;

    // Radio and regulatory domain.
    virtual int QueryWL_OperationRegionCode(AdapterRecord* adapter) = 0;
    virtual int QueryWL_MultiDomainCapability(AdapterRecord* adapter) = 0;
    virtual int QueryWL_PSMode(AdapterRecord* adapter) = 0;
    virtual int QueryWL_FragmentationThreshold(AdapterRecord* adapter) = 0;
    virtual int QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) = 0;
    virtual int QueryWL_SupportedRate(AdapterRecord* adapter,
                                      std::span<std::uint8_t, adapterbuf::kRateBytes> rates) = 0;
    // 0 on success: fills at most *count channel numbers and sets *count to how many.
    virtual int QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels,
                                       int* count) = 0;
    virtual int SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) = 0;
    virtual int SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) = 0;
    virtual int SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) = 0;
    virtual int SetWL_SupportChannel(AdapterRecord* adapter, const std::uint8_t* channels,
                                     int count) = 0;

    // Access point.
    virtual int SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) = 0;
    virtual int SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) = 0;
    virtual int SetWLAP_FilterMode(AdapterRecord* adapter, int mode) = 0;
    virtual int SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list, int size) = 0;
    virtual int WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer, int size) = 0;

    // Site survey.
    virtual int WL_SiteSurveyStart(AdapterRecord* adapter) = 0;
    // Fills at most `size` bytes with the BSSID list; -1 on failure.
    virtual int WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer,
                                          int size) = 0;
    // Rewrites a retrieved survey in place, keeping its layout.
    virtual int WL_FilteSiteSurveyData(
        AdapterRecord* adapter, std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) = 0;

    // Wireless Zero Configuration and private OIDs.
    virtual int QueryWL_CheckWZCStatus(AdapterRecord* adapter) = 0;  // 0, 1 or 2
    virtual int SetWL_WZCStatus(AdapterRecord* adapter, int status) = 0;
    virtual int QVStartWZCService() = 0;
    virtual int QVStopWZCService() = 0;
    virtual int SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) = 0;
    virtual int QueryWL_QVUseQVXOidState(AdapterRecord* adapter) = 0;
    virtual int WriteOid(AdapterRecord* adapter, std::uint32_t oid, const std::uint8_t* data,
                         int length) = 0;

    // The EAPOL frames of the open adapter, for the 802.1X library; nothing when the adapter
    // is not open. Shared: the WPA worker may still hold it for a moment after the adapter
    // was unplugged, and then it merely carries nothing.
    virtual std::shared_ptr<EapolPort> eapolPort(AdapterRecord* adapter) = 0;
};

}  // namespace rizorivu
