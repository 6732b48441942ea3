#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "crypto/NonceSource.h"
#include "sim/EapolChannel.h"
#include "sim/RadiusClient.h"
#include "sim/World.h"

namespace rizorivu::sim {

// A WPA-Enterprise access point's 802.1X authenticator for one associated station: it asks
// for the identity (on association and on EAPOL-Start), relays each EAP-Response to the
// RADIUS server in an Access-Request and each challenge's EAP packet back, and ends with
// EAP-Success and the master key of the Access-Accept, or EAP-Failure on a Reject, an Accept
// without keys, or a server that does not answer. After either end, EAPOL-Start begins again.
// Frames from the station are untrusted: what does not answer the pending request is
// dropped. Not synchronised; the adapter's lock covers it.
class EapAuthenticator {
public:
    static constexpr std::uint16_t kFramedMtu = 1400;

    enum class State { AwaitingStation, AwaitingServer, Succeeded, Failed };

    struct Setup {
        RadiusClient::Server server;
        MacAddress address{};  // the access point's BSSID
        MacAddress station{};
        std::string ssid;
    };

    EapAuthenticator(Setup setup, EapolChannel& channel, crypto::NonceSource& nonces);

    // The station has associated (or asked with EAPOL-Start): EAP-Request/Identity.
    void start(std::int64_t nowMs);
    // One EAPOL frame the station sent that is not an EAPOL-Key frame.
    void receive(std::span<const std::uint8_t> frame, std::int64_t nowMs);
    // Picks up the server's answer, if any.
    void tick(std::int64_t nowMs);

    State state() const { return state_; }
    // The master key of the last success; taken once.
    std::optional<std::array<std::uint8_t, 32>> takeMasterKey();
    int droppedFrames() const { return dropped_; }

private:
    void toStation(std::span<const std::uint8_t> eap);
    void fail();
    void onReply(const RadiusReply& reply);

    Setup setup_;
    EapolChannel& channel_;
    RadiusClient client_;
    State state_ = State::AwaitingStation;
    std::uint8_t pendingId_ = 0;  // of the request the station has to answer
    std::uint8_t nextId_ = 0;
    std::string identity_;
    std::vector<std::uint8_t> radiusState_;
    std::optional<std::array<std::uint8_t, 32>> masterKey_;
    int dropped_ = 0;
};

}  // namespace rizorivu::sim
