#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "platform/Clock.h"
#include "platform/RegistryStore.h"
#include "sim/ClassKeyInstaller.h"
#include "sim/EapolChannel.h"
#include "sim/SimulatedAdapter.h"
#include "sim/WorldSource.h"

namespace rizorivu::sim {

// The adapter library on a simulated radio world: the adapter's driver, as far as the
// utility can tell. Thread-safe: one lock around every operation, which the interface thread
// and the WPA worker call at once.
//
// Adapters. CreateAllNICAdapterList lists the world's present adapters, wireless or not;
// only wireless ones can be opened, by the record's name (compared without regard to ASCII
// case). An open adapter gets a handle of its own in the record; a closed record, or one
// whose adapter was unplugged, gets -1 from every query until it is opened again. Plugging
// an adapter in gives it factory settings (the utility replays its own). Loading a world, and
// every edit, writes each adapter's class key (with "MatchingDeviceId") into the machine
// hive, as a driver installer would. Query_FixWindisPnPBug answers 1 while an adapter with
// PnPWorkaround=1 is present.
//
// The world. It is re-read on calls, at most every 500 ms of clock time, when its file
// changed; a broken edit keeps the last good world and is reported once on `diagnostics`.
//
// Accepted values (anything else is refused with -1 and keeps the old value):
//   SSID           0-32 bytes; an empty one, or one no network has, leaves the network.
//                  Setting it always reassociates, even with the same SSID.
//   Channel        a channel the adapter may use (the list last set, see below).
//   NetworkType    0 ad hoc, 1 infrastructure, 2 either, 3 pseudo-IBSS; station mode only.
//   BasicRate      0-3.          DesiredRate  at least one rate, all of them supported.
//   WEPStatus      0, 1, 4, 6 in station mode; 0, 1 as an access point.
//   Authentication 0-7 in station mode (6 WPA2, 7 WPA2-PSK); 0, 1 as an access point.
//   PSMode 0-2 (station mode only), Fragmentation 256-2346, RTS 0-2347, Preamble 0-2.
//   BSSID          a unicast address chooses that access point until an SSID it does not
//                  have is set; FF-FF-FF-FF-FF-FF or 00-00-00-00-00-00 chooses none.
//   WriteKey       index 0-3, length code 0-2 (5, 13, 29 bytes).
//   OperationMode  0, 1 (1 only when the world allows access-point mode).
//   Region         a non-zero code of the region table (0, "none", would leave no channel).
//   MultiDomain 0-1.  SupportChannel 0-14 distinct channels of 1-14; an empty list with
//                  multi-domain on means all of 1-14 (the access points' country decides).
//                  QueryWL_SupportChannel answers the channels usable now, -1 when none.
//   HideSSID 0-1, TxPowerLevel 0-3, FilterMode 0-2 (0 off, 1 admit listed, 2 refuse
//   listed), FilterList exactly 112 bytes with in-use bytes 0 or 1.
//   WZCStatus 0-1, QVUseQVXOidState 0-1.
//
// Station mode. Association follows the rules of chooseAssociation (AssociationRules.h) and
// completes 1.5 s after the last setting that affects it; until then QueryWL_ConnectState
// answers 1, afterwards 0. An ad-hoc cell the station started itself has no members and
// answers 1, while channel, BSSID and speed describe the cell; pseudo-IBSS answers 0 with
// no partner (it only transmits). While connected: RSSI with ±3 dB jitter from the world's
// seed, quality from the signal, speed of the best common rate (units of 1000 bit/s), and
// 24 transmitted and 40 received frames a second once data flows (WPA: while WriteOid has
// installed the pairwise and group key, the access point's own for WPA-PSK, see Keys;
// WPA-None: the group key; open-system WEP with the wrong key: transmitted only). Queries of RSSI,
// quality, speed and BSSID answer -1 while not connected; SSID, channel and security answer what
// was set, the network type too, except that automatic mode (2) reports the type of the network it
// joined.
//
// Access-point mode. The access point beacons while its SSID is set and its channel usable;
// the world's clients join 1.5 s after it was last reconfigured, filtered by the MAC filter.
// Each associated station adds 15 transmitted and 10 received frames a second.
//
// Site survey. The radio hears continuously, so WL_SiteSurveyStart only checks the mode and
// WL_RetrieveSiteSurveyData answers at once with every network on a usable channel heard at
// -95 dBm or better, in world order (layout in SurveyWriter.h, filter rule in
// SurveyFilter.h). Both answer -1 in access-point mode.
//
// Zero Configuration. QueryWL_CheckWZCStatus answers the adapter's status: the world's at
// plug-in and after an edit that changes it, or the last SetWL_WZCStatus. The service's
// running state (QVStartWZCService, QVStopWZCService) is kept apart from it.
//
// Keys. WriteOid accepts only kOidAddKey with a well-formed add-key record (AddKeyRecord.h)
// while associated with a WPA network: a key of its cipher's length (TKIP 32, AES 16 bytes;
// a group key of the group cipher's: WEP 5 or 13), a pairwise key bound to the access point's
// BSSID (not in an ad-hoc cell), or a group key. A WPA-PSK access point runs the key
// handshakes (PskAuthenticator.h) over the EAPOL port: message 1 once associated, its retries
// and rekeying on the library's clock at any call. Data flows only while the installed keys
// are the ones the access point derived (WPA-None: the passphrase's key); wrong keys are
// accepted but carry nothing. A station that fails the handshake, or whose access point's
// passphrase or ciphers a world edit changed, is deauthenticated and associates again 1.5 s
// later.
class SimulatedAdapterLibrary final : public AdapterLibrary {
public:
    SimulatedAdapterLibrary(std::unique_ptr<WorldSource> source, Clock& clock,
                            RegistryStore& registry, std::ostream& diagnostics);

    int CheckOSWinNT() override;
    int QueryWL_IsWindows95() override;
    int QV_GetOSVersion() override;
    int Query_FixWindisPnPBug() override;

    int CreateAllNICAdapterList(AdapterListEntry* entries, int capacity) override;
    int QvOpenAdapter(AdapterRecord* adapter) override;
    int QvCloseAdapter(AdapterRecord* adapter) override;

    int GetNICAdapterMAC(AdapterRecord* adapter,
                         std::span<std::uint8_t, adapterbuf::kMacBytes> mac) override;
    int QueryWL_DriverVersion(AdapterRecord* adapter) override;
    int QueryWL_USBType(AdapterRecord* adapter) override;

    int QueryWL_ConnectState(AdapterRecord* adapter) override;
    int QueryWL_NetworkType(AdapterRecord* adapter) override;
    int QueryWL_Channel(AdapterRecord* adapter) override;
    int QueryWL_RSSI(AdapterRecord* adapter) override;
    int QueryWL_CommQuality(AdapterRecord* adapter) override;
    int QueryWL_CurrentLinkSpeed(AdapterRecord* adapter) override;
    int QueryWL_WEPStatus(AdapterRecord* adapter) override;
    int QueryWL_AuthenticationMode(AdapterRecord* adapter) override;
    int QueryWL_OperationMode_STA_AP(AdapterRecord* adapter) override;
    int QueryWL_SSID(AdapterRecord* adapter,
                     std::span<std::uint8_t, adapterbuf::kSsidBytes> ssid) override;
    int QueryWL_BSSID(AdapterRecord* adapter,
                      std::span<std::uint8_t, adapterbuf::kMacBytes> bssid) override;
    int GetTxRxFrameCount(AdapterRecord* adapter, FrameCounts* counts) override;

    int SetWL_SSID(AdapterRecord* adapter, const std::uint8_t* ssid, int length) override;
    int SetWL_Channel(AdapterRecord* adapter, int channel) override;
    int SetWL_NetworkType(AdapterRecord* adapter, int networkType) override;
    int SetWL_BasicRate(AdapterRecord* adapter, int basicRate) override;
    int SetWL_DesiredRate(AdapterRecord* adapter,
                          std::span<const std::uint8_t, adapterbuf::kRateBytes> rates) override;
    int SetWL_WEPStatus(AdapterRecord* adapter, int wepStatus) override;
    int SetWL_AuthenticationMode(AdapterRecord* adapter, int mode) override;
    int SetWL_PSMode(AdapterRecord* adapter, int mode) override;
    int SetWL_FragmentationThreshold(AdapterRecord* adapter, int bytes) override;
    int SetWL_RTS_CTS_Threshold(AdapterRecord* adapter, int bytes) override;
    int SetWL_PreambleMode(AdapterRecord* adapter, int mode) override;
    int SetWL_BSSID(AdapterRecord* adapter,
                    std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid) override;
    int SetWL_OperationMode_STA_AP(AdapterRecord* adapter, int mode) override;
    int SetWL_WriteKey(AdapterRecord* adapter, int index, int lengthCode, int isTransmitKey,
                       const std::uint8_t* keyBytes) override;

    int QueryWL_OperationRegionCode(AdapterRecord* adapter) override;
    int QueryWL_MultiDomainCapability(AdapterRecord* adapter) override;
    int QueryWL_PSMode(AdapterRecord* adapter) override;
    int QueryWL_FragmentationThreshold(AdapterRecord* adapter) override;
    int QueryWL_RTS_CTS_Threshold(AdapterRecord* adapter) override;
    int QueryWL_SupportedRate(AdapterRecord* adapter,
                              std::span<std::uint8_t, adapterbuf::kRateBytes> rates) override;
    int QueryWL_SupportChannel(AdapterRecord* adapter, std::uint8_t* channels, int* count) override;
    int SetWL_OperationRegionCode(AdapterRecord* adapter, int regionCode) override;
    int SetWL_MultiDomainCapability(AdapterRecord* adapter, int enabled) override;
    int SetWL_RegionAndSupportChannel(AdapterRecord* adapter, int regionCode) override;
    int SetWL_SupportChannel(AdapterRecord* adapter, const std::uint8_t* channels,
                             int count) override;

    int SetWLAP_HideSSIDState(AdapterRecord* adapter, int hidden) override;
    int SetWLAP_TxPowerLevel(AdapterRecord* adapter, int level) override;
    int SetWLAP_FilterMode(AdapterRecord* adapter, int mode) override;
    int SetWLAP_FilterList(AdapterRecord* adapter, const std::uint8_t* list, int size) override;
    int WL_RetrieveStationList(AdapterRecord* adapter, std::uint8_t* buffer, int size) override;

    int WL_SiteSurveyStart(AdapterRecord* adapter) override;
    int WL_RetrieveSiteSurveyData(AdapterRecord* adapter, std::uint8_t* buffer, int size) override;
    int WL_FilteSiteSurveyData(AdapterRecord* adapter,
                               std::span<std::uint8_t, adapterbuf::kSurveyBytes> buffer) override;

    int QueryWL_CheckWZCStatus(AdapterRecord* adapter) override;
    int SetWL_WZCStatus(AdapterRecord* adapter, int status) override;
    int QVStartWZCService() override;
    int QVStopWZCService() override;
    int SetWL_QVUseQVXOidState(AdapterRecord* adapter, int state) override;
    int QueryWL_QVUseQVXOidState(AdapterRecord* adapter) override;
    int WriteOid(AdapterRecord* adapter, std::uint32_t oid, const std::uint8_t* data,
                 int length) override;
    std::shared_ptr<EapolPort> eapolPort(AdapterRecord* adapter) override;

    // Beyond the driver's operations: the station side of the open adapter's EAPOL exchange
    // (nullptr when the record is not open), and the Zero Configuration service's state.
    std::shared_ptr<EapolChannel> eapolChannel(const AdapterRecord* adapter);
    bool zeroConfigServiceRunning();

private:
    // Follows an edited world; the caller holds the lock.
    void refresh(std::int64_t nowMs);
    void adopt(std::int64_t nowMs);
    // A frame the station sent: its access point answers it now.
    void deliverEapol(const SimulatedAdapter* sender);
    SimulatedAdapter* present(const AdapterRecord* adapter);
    // Runs `op` on the adapter open under the record's handle, or answers -1.
    template <typename Op>
    int withAdapter(const AdapterRecord* adapter, Op&& op);
    template <typename Op>
    int withMachine(Op&& op);

    std::mutex mutex_;
    std::unique_ptr<WorldSource> source_;
    std::shared_ptr<const World> world_;
    Clock& clock_;
    ClassKeyInstaller installer_;
    std::ostream& diagnostics_;
    std::vector<std::unique_ptr<SimulatedAdapter>> adapters_;  // the present ones, world order
    bool zeroConfigRunning_ = true;
    std::int32_t nextHandle_ = 0x100;
};

}  // namespace rizorivu::sim
