#include "dot1x/MsChapV2Peer.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <string_view>

namespace rizorivu::dot1x {

namespace {

// OpCode, MS-CHAPv2-ID and MS-Length lead every packet but the peer's success and failure.
constexpr std::size_t kHeaderBytes = 4;
constexpr std::uint8_t kChallengeBytes = 16;
constexpr std::uint8_t kResponseValueBytes = 49;

// The challenge hash takes the user name without a Windows domain.
std::string_view userName(std::string_view identity) {
    const std::size_t slash = identity.rfind('\\');
    return slash == std::string_view::npos ? identity : identity.substr(slash + 1);
}

}  // namespace

MsChapV2Peer::MsChapV2Peer(const crypto::MsChapV2& algorithms, crypto::NonceSource& nonces,
                           std::string identity, std::string password)
    : algorithms_(algorithms),
      nonces_(nonces),
      identity_(std::move(identity)),
      password_(std::move(password)) {}

MsChapV2Peer::~MsChapV2Peer() {
    OPENSSL_cleanse(password_.data(), password_.size());
    OPENSSL_cleanse(ntResponse_.data(), ntResponse_.size());
}

std::optional<std::vector<std::uint8_t>> MsChapV2Peer::refuse() {
    state_ = State::Failed;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> MsChapV2Peer::answer(std::span<const std::uint8_t> data) {
    if (data.size() < kHeaderBytes || state_ == State::Failed || state_ == State::Succeeded) {
        return refuse();
    }
    const std::size_t msLength = static_cast<std::size_t>(data[2]) << 8 | data[3];
    // MS-Length counts from the OpCode; it may not claim more than the packet holds.
    if (msLength < kHeaderBytes || msLength > data.size()) {
        return refuse();
    }
    const std::span<const std::uint8_t> body = data.subspan(kHeaderBytes, msLength - kHeaderBytes);
    switch (data[0]) {
        case kChallenge:
            return state_ == State::AwaitingChallenge ? answerChallenge(data[1], body) : refuse();
        case kSuccess: {
            if (state_ != State::AwaitingResult) {
                return refuse();
            }
            const std::string_view message(reinterpret_cast<const char*>(body.data()), body.size());
            if (!algorithms_.checkAuthenticatorResponse(password_, ntResponse_, peerChallenge_,
                                                        authenticatorChallenge_,
                                                        userName(identity_), message)) {
                return refuse();
            }
            state_ = State::Succeeded;
            return std::vector<std::uint8_t>{kSuccess};
        }
        case kFailure:
            // The password was wrong (or the account refused): acknowledge, the server ends it.
            state_ = State::Failed;
            return std::vector<std::uint8_t>{kFailure};
        default:
            return refuse();
    }
}

std::optional<std::vector<std::uint8_t>> MsChapV2Peer::answerChallenge(
    std::uint8_t id, std::span<const std::uint8_t> body) {
    if (body.size() < 1 + kChallengeBytes || body[0] != kChallengeBytes) {
        return refuse();
    }
    std::copy_n(body.begin() + 1, kChallengeBytes, authenticatorChallenge_.begin());
    if (!nonces_.fill(peerChallenge_) ||
        !algorithms_.generateNtResponse(authenticatorChallenge_, peerChallenge_,
                                        userName(identity_), password_, ntResponse_)) {
        return refuse();
    }
    const std::size_t msLength = kHeaderBytes + 1 + kResponseValueBytes + identity_.size();
    if (msLength > 0xFFFF - 5) {
        return refuse();
    }
    std::vector<std::uint8_t> out{kResponse, id, static_cast<std::uint8_t>(msLength >> 8),
                                  static_cast<std::uint8_t>(msLength), kResponseValueBytes};
    out.insert(out.end(), peerChallenge_.begin(), peerChallenge_.end());
    out.insert(out.end(), 8, 0);  // reserved
    out.insert(out.end(), ntResponse_.begin(), ntResponse_.end());
    out.push_back(0);  // flags
    out.insert(out.end(), identity_.begin(), identity_.end());
    state_ = State::AwaitingResult;
    return out;
}

}  // namespace rizorivu::dot1x
