#include "sim/RadiusClient.h"

#include <utility>

namespace rizorivu::sim {

RadiusClient::RadiusClient(Server server, crypto::NonceSource& nonces)
    : server_(std::move(server)), nonces_(nonces) {
    std::array<std::uint8_t, 1> first{};
    if (nonces_.fill(first)) {
        nextIdentifier_ = first[0];
    }
}

std::vector<std::uint8_t> RadiusClient::secretBytes() const {
    return {server_.secret.begin(), server_.secret.end()};
}

bool RadiusClient::send(RadiusPacket request, std::int64_t nowMs) {
    reply_.reset();
    sends_ = 0;
    status_ = Status::Unreachable;
    request.code = radius::kAccessRequest;
    request.identifier = nextIdentifier_++;
    if (!nonces_.fill(request.authenticator)) {
        return false;
    }
    if (!socket_.isOpen()) {
        const auto peer = UdpSocket::resolve(server_.host, server_.port);
        if (!peer || !socket_.connect(*peer)) {
            return false;
        }
    }
    const std::vector<std::uint8_t> secret = secretBytes();
    auto wire = request.encodeRequest(secret);
    if (!wire) {
        return false;
    }
    request_ = std::move(request);
    wire_ = std::move(*wire);
    status_ = Status::Waiting;
    socket_.send(wire_);  // a lost datagram is what the resend is for
    sends_ = 1;
    resendAtMs_ = nowMs + kTimeoutMs;
    return true;
}

RadiusClient::Status RadiusClient::poll(std::int64_t nowMs) {
    if (status_ != Status::Waiting) {
        return status_;
    }
    const std::vector<std::uint8_t> secret = secretBytes();
    // Bounded: a flood of forged datagrams cannot keep the caller here.
    for (int i = 0; i < 16; ++i) {
        auto datagram = socket_.receive();
        if (!datagram) {
            break;
        }
        if (auto reply = RadiusReply::read(datagram->bytes, request_, secret)) {
            reply_ = std::move(reply);
            status_ = Status::Answered;
            return status_;
        }
        ++dropped_;
    }
    if (nowMs >= resendAtMs_) {
        if (sends_ >= kMaxSends) {
            status_ = Status::Unreachable;
        } else {
            socket_.send(wire_);
            ++sends_;
            resendAtMs_ = nowMs + kTimeoutMs;
        }
    }
    return status_;
}

std::optional<RadiusReply> RadiusClient::take() {
    if (status_ != Status::Answered) {
        return std::nullopt;
    }
    status_ = Status::Idle;
    return std::exchange(reply_, std::nullopt);
}

}  // namespace rizorivu::sim
