#include "sim/EapAuthenticator.h"

#include <cstdio>
#include <utility>

#include <openssl/crypto.h>

#include "adapter/EapPacket.h"

namespace rizorivu::sim {

namespace {

std::string macText(const MacAddress& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

}  // namespace

EapAuthenticator::EapAuthenticator(Setup setup, EapolChannel& channel, crypto::NonceSource& nonces)
    : setup_(std::move(setup)), channel_(channel), client_(setup_.server, nonces) {}

void EapAuthenticator::start(std::int64_t) {
    identity_.clear();
    radiusState_.clear();
    if (masterKey_) {
        OPENSSL_cleanse(masterKey_->data(), masterKey_->size());
        masterKey_.reset();
    }
    state_ = State::AwaitingStation;
    pendingId_ = nextId_++;
    toStation(eapPacket(eap::kRequest, pendingId_, eap::kTypeIdentity, {}));
}

void EapAuthenticator::toStation(std::span<const std::uint8_t> eap) {
    channel_.send(EapolChannel::Side::AccessPoint, eapolFrame(eap::kEapolPacket, eap));
}

void EapAuthenticator::fail() {
    state_ = State::Failed;
    toStation(eapStatus(eap::kFailure, pendingId_));
}

void EapAuthenticator::receive(std::span<const std::uint8_t> frame, std::int64_t nowMs) {
    const auto eapol = EapolFrameView::parse(frame);
    if (!eapol) {
        ++dropped_;
        return;
    }
    if (eapol->packetType == eap::kEapolStart) {
        start(nowMs);
        return;
    }
    const auto packet =
        eapol->packetType == eap::kEapolPacket ? EapPacketView::parse(eapol->body) : std::nullopt;
    if (!packet || packet->code != eap::kResponse || state_ != State::AwaitingStation ||
        packet->identifier != pendingId_) {
        ++dropped_;
        return;
    }
    if (packet->type == eap::kTypeIdentity) {
        identity_.assign(packet->data.begin(), packet->data.end());
    }
    RadiusPacket request;
    // The server checks the name against the EAP identity; without one it cannot be asked.
    if (!request.addText(radius::kUserName, identity_)) {
        fail();
        return;
    }
    request.addText(radius::kNasIdentifier, "rizorivu-ap");
    request.addInteger(radius::kNasPort, 0);
    request.addInteger(radius::kNasPortType, radius::kNasPortTypeWireless);
    request.addText(radius::kCalledStationId, macText(setup_.address) + ":" + setup_.ssid);
    request.addText(radius::kCallingStationId, macText(setup_.station));
    request.addInteger(radius::kFramedMtu, kFramedMtu);
    request.addEapMessage(packet->packet);
    if (!radiusState_.empty()) {
        request.add(radius::kState, radiusState_);
    }
    state_ = State::AwaitingServer;
    if (!client_.send(std::move(request), nowMs)) {
        fail();
    }
}

void EapAuthenticator::tick(std::int64_t nowMs) {
    if (state_ != State::AwaitingServer) {
        return;
    }
    switch (client_.poll(nowMs)) {
        case RadiusClient::Status::Answered:
            if (const auto reply = client_.take()) {
                onReply(*reply);
            }
            break;
        case RadiusClient::Status::Unreachable:
            fail();
            break;
        default:
            break;
    }
}

void EapAuthenticator::onReply(const RadiusReply& reply) {
    const auto eap = EapPacketView::parse(reply.eap);
    if (reply.code == radius::kAccessChallenge) {
        if (!eap || eap->code != eap::kRequest) {
            fail();  // nothing the station could answer
            return;
        }
        radiusState_ = reply.state;
        pendingId_ = eap->identifier;
        nextId_ = static_cast<std::uint8_t>(pendingId_ + 1);
        state_ = State::AwaitingStation;
        toStation(eap->packet);
        return;
    }
    if (eap) {
        pendingId_ = eap->identifier;
    }
    if (reply.code == radius::kAccessAccept && reply.masterKey) {
        masterKey_ = reply.masterKey;
        state_ = State::Succeeded;
        toStation(eapStatus(eap::kSuccess, pendingId_));
        return;
    }
    // A Reject, or an Accept the access point cannot key the station with.
    fail();
}

std::optional<std::array<std::uint8_t, 32>> EapAuthenticator::takeMasterKey() {
    return std::exchange(masterKey_, std::nullopt);
}

}  // namespace rizorivu::sim
