#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "adapter/DriverCode.h"
#include "adapter/OperationMode.h"
#include "crypto/RandomNonceSource.h"
#include "sim/AccessPointCell.h"
#include "sim/AdapterSettings.h"
#include "sim/AssociationRules.h"
#include "sim/EapAuthenticator.h"
#include "sim/FrameTally.h"
#include "sim/PskAuthenticator.h"
#include "sim/StationEapolPort.h"
#include "sim/StationLink.h"
#include "sim/World.h"

namespace rizorivu::sim {

// What the driver works with during one call: the radio world and the time.
struct Moment {
    const World& world;
    std::int64_t nowMs = 0;
};

// One plugged-in adapter as its driver sees it: its settings (kept apart for station and
// access-point mode, as the utility replays each mode's), its link and its access point.
// Created with factory settings whenever the adapter is plugged in. Every operation of the
// library reaches the adapter after update(); setters answer 0 or -1, queries -1 for no
// value. Not synchronised; the library holds its lock.
class SimulatedAdapter {
public:
    // How long a station refused by the RADIUS server stays associated before it is sent away.
    static constexpr std::int64_t kEapFailureDeauthMs = 1000;

    SimulatedAdapter(const WorldAdapter& device, std::int64_t nowMs);

    const WorldAdapter& device() const { return device_; }
    // A world edit while the adapter stays plugged in. A changed Zero Configuration status
    // in the world becomes the adapter's status.
    void followWorld(const WorldAdapter& device);

    // The handle it is open under, 0 when closed.
    std::int32_t handle() const { return handle_; }
    void setHandle(std::int32_t handle) { handle_ = handle; }

    // Counts the frames up to now, follows the world (see follow), then lets the access
    // point's authenticator answer the station's EAPOL frames and run its timers.
    void update(const Moment& m);
    // Follows settings and world to the network the rules choose and the stations that join
    // the access point; a changed choice is a new association. Run again after a setting.
    void follow(const Moment& m);

    // Identity.
    void mac(std::span<std::uint8_t, adapterbuf::kMacBytes> out) const;
    int supportedRates(std::span<std::uint8_t, adapterbuf::kRateBytes> out) const;

    // Link status.
    int connectState(const Moment& m) const;
    // As set, except that automatic mode reports the type of the network it joined.
    int networkType(const Moment& m) const;
    int channel(const Moment& m) const;
    int rssi(const Moment& m) const;
    int quality(const Moment& m) const;
    int linkSpeed(const Moment& m) const;
    int wepStatus() const { return toDriver(current().wepStatus); }
    int authenticationMode() const { return toDriver(current().authenticationMode); }
    int operationMode() const { return toDriver(mode_); }
    // The joined network's SSID while associated (a station told an empty SSID names the
    // network it found), otherwise the SSID it was told.
    int ssid(const Moment& m, std::span<std::uint8_t, adapterbuf::kSsidBytes> out) const;
    int bssid(const Moment& m, std::span<std::uint8_t, adapterbuf::kMacBytes> out) const;
    FrameCounts frameCounts() const;

    // Station and per-mode settings.
    int setSsid(const Moment& m, const std::uint8_t* ssid, int length);
    int setChannel(const Moment& m, int channel);
    int setNetworkType(const Moment& m, int networkType);
    int setBasicRate(int basicRate);
    int setDesiredRates(std::span<const std::uint8_t, adapterbuf::kRateBytes> rates);
    int setWepStatus(const Moment& m, int wepStatus);
    int setAuthenticationMode(const Moment& m, int mode);
    int setPowerSaveMode(int mode);
    int setFragmentationThreshold(int bytes);
    int setRtsThreshold(int bytes);
    int setPreambleMode(int mode);
    int setBssid(const Moment& m, std::span<const std::uint8_t, adapterbuf::kMacBytes> bssid);
    int setOperationMode(const Moment& m, int mode);
    int writeKey(const Moment& m, int index, int lengthCode, int isTransmitKey,
                 const std::uint8_t* keyBytes);

    // Radio and regulatory domain.
    int regionCode() const { return radio_.regionCode; }
    int multiDomain() const { return radio_.multiDomain; }
    int powerSaveMode() const { return toDriver(station_.powerSaveMode); }
    int fragmentationThreshold() const { return current().fragmentationThreshold; }
    int rtsThreshold() const { return current().rtsThreshold; }
    int supportChannels(std::uint8_t* channels, int* count) const;
    int setRegionCode(int regionCode);
    int setMultiDomain(int enabled);
    int setRegionAndChannels(int regionCode);
    int setChannels(const std::uint8_t* channels, int count);

    // Access point.
    int setHideSsid(const Moment& m, int hidden);
    int setTxPowerLevel(int level);
    int setFilterMode(const Moment& m, int mode);
    int setFilterList(const Moment& m, const std::uint8_t* list, int size);
    int stationList(const Moment& m, std::uint8_t* buffer, int size) const;

    // Site survey.
    int startSurvey() const;
    int retrieveSurvey(const Moment& m, std::uint8_t* buffer, int size) const;

    // Zero Configuration and private OIDs.
    int zeroConfigStatus() const { return zeroConfigStatus_; }
    int setZeroConfigStatus(int status);
    int privateOidState() const { return radio_.privateOidState; }
    int setPrivateOidState(int state);
    int writeOid(const Moment& m, std::uint32_t oid, const std::uint8_t* data, int length);

    const std::shared_ptr<EapolChannel>& eapolChannel() const { return link_.eapol(); }
    const std::shared_ptr<StationEapolPort>& eapolPort() const { return eapolPort_; }

private:
    ModeSettings& current() {
        return mode_ == OperationMode::AccessPoint ? accessPointMode_ : stationMode_;
    }
    const ModeSettings& current() const {
        return mode_ == OperationMode::AccessPoint ? accessPointMode_ : stationMode_;
    }
    // The channels the adapter may use: the list last set, or with an empty list in
    // multi-domain (world) mode every channel 1-14, as the access points' country tells.
    std::vector<std::uint8_t> usableChannels() const;
    AssociationOutcome choose(const Moment& m) const;
    std::vector<MacAddress> admit(const Moment& m) const;
    bool beaconing() const;
    // A setting that changes how the adapter meets the air: the station associates afresh,
    // or the access point restarts.
    void reconnect(const Moment& m);
    const WorldNetwork* linkedNetwork(const Moment& m) const;
    // The keys of a WPA association: the access point's authenticators (802.1X first on a
    // wpa-eap network), or in an ad-hoc cell the key every member derives from the passphrase.
    void serveKeys(const Moment& m);
    void startKeys(const Moment& m, const WorldNetwork& network);
    void startHandshake(const Moment& m, const WorldNetwork& network,
                        const std::array<std::uint8_t, 32>& masterKey);
    // Hands the station's frames to the authenticator each is for.
    void routeFrames(const Moment& m);

    WorldAdapter device_;
    std::int32_t handle_ = 0;
    OperationMode mode_ = OperationMode::Station;
    ModeSettings stationMode_;
    ModeSettings accessPointMode_;
    StationSettings station_;
    AccessPointSettings ap_;
    RadioSettings radio_;
    int zeroConfigStatus_ = 0;
    StationLink link_;
    std::shared_ptr<StationEapolPort> eapolPort_ =
        std::make_shared<StationEapolPort>(link_.eapol());
    AccessPointCell cell_;
    FrameTally tally_;
    crypto::RandomNonceSource nonces_;
    std::optional<crypto::Rc4Cipher> rc4_;  // loaded with the first TKIP handshake
    std::unique_ptr<PskAuthenticator> authenticator_;
    std::unique_ptr<EapAuthenticator> eapAuthenticator_;
    // When the EAP exchange failed: the station is sent away a moment later.
    std::optional<std::int64_t> eapFailedAtMs_;
    std::uint64_t keyedAssociation_ = 0;  // the association the keys above belong to
    WorldNetwork keyedNetwork_;           // and the network setting they were made for
    bool keyedWpa2_ = false;              // the station associated with WPA2: descriptor 2
};

}  // namespace rizorivu::sim
