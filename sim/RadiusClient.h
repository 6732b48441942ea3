#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "crypto/NonceSource.h"
#include "platform/UdpSocket.h"
#include "sim/RadiusPacket.h"
#include "sim/RadiusReply.h"

namespace rizorivu::sim {

// The access point's RADIUS client: one request outstanding at a time, sent again with the
// same identifier and authenticator when no believable answer came within kTimeoutMs, given
// up after kMaxSends sends ("server unreachable"). Never waits: poll() reads what the socket
// holds and runs the timer on the caller's clock. Not synchronised; the adapter's lock covers it.
class RadiusClient {
public:
    static constexpr std::int64_t kTimeoutMs = 1000;
    static constexpr int kMaxSends = 3;

    struct Server {
        std::string host = "127.0.0.1";
        std::uint16_t port = 18121;
        std::string secret;
    };

    enum class Status { Idle, Waiting, Answered, Unreachable };

    RadiusClient(Server server, crypto::NonceSource& nonces);

    // Sends `request` as an Access-Request with a fresh identifier and authenticator. False
    // (status Unreachable) when the server's address is unusable or the packet too large.
    bool send(RadiusPacket request, std::int64_t nowMs);
    // Reads the socket and resends when due; Answered once a believable reply arrived.
    Status poll(std::int64_t nowMs);
    // The reply, once; the client is Idle afterwards.
    std::optional<RadiusReply> take();
    Status status() const { return status_; }
    int sends() const { return sends_; }
    int dropped() const { return dropped_; }

private:
    std::vector<std::uint8_t> secretBytes() const;

    Server server_;
    crypto::NonceSource& nonces_;
    UdpSocket socket_;
    RadiusPacket request_;
    std::vector<std::uint8_t> wire_;
    std::optional<RadiusReply> reply_;
    Status status_ = Status::Idle;
    std::uint8_t nextIdentifier_ = 0;
    int sends_ = 0;
    int dropped_ = 0;
    std::int64_t resendAtMs_ = 0;
};

}  // namespace rizorivu::sim
