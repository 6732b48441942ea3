#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "crypto/MsChapV2.h"
#include "crypto/NonceSource.h"

namespace rizorivu::dot1x {

// The peer of EAP-MS-CHAPv2 (draft-kamath-pppext-eap-mschapv2): answers the server's
// challenge with the NT-Response and accepts its success only when the authenticator
// response proves the server knows the password too.
class MsChapV2Peer {
public:
    static constexpr std::uint8_t kChallenge = 1;
    static constexpr std::uint8_t kResponse = 2;
    static constexpr std::uint8_t kSuccess = 3;
    static constexpr std::uint8_t kFailure = 4;

    MsChapV2Peer(const crypto::MsChapV2& algorithms, crypto::NonceSource& nonces,
                 std::string identity, std::string password);
    ~MsChapV2Peer();
    MsChapV2Peer(const MsChapV2Peer&) = delete;
    MsChapV2Peer& operator=(const MsChapV2Peer&) = delete;

    // The data after the EAP type of a request; answers the response's data, or nothing when
    // the request is refused (malformed, out of order, or a server that cannot prove itself).
    std::optional<std::vector<std::uint8_t>> answer(std::span<const std::uint8_t> data);

    bool succeeded() const { return state_ == State::Succeeded; }
    bool failed() const { return state_ == State::Failed; }

private:
    enum class State { AwaitingChallenge, AwaitingResult, Succeeded, Failed };

    std::optional<std::vector<std::uint8_t>> answerChallenge(std::uint8_t id,
                                                             std::span<const std::uint8_t> body);
    std::optional<std::vector<std::uint8_t>> refuse();

    const crypto::MsChapV2& algorithms_;
    crypto::NonceSource& nonces_;
    std::string identity_;
    std::string password_;
    State state_ = State::AwaitingChallenge;
    crypto::MsChapV2::Challenge authenticatorChallenge_{};
    crypto::MsChapV2::Challenge peerChallenge_{};
    crypto::MsChapV2::NtResponse ntResponse_{};
};

}  // namespace rizorivu::dot1x
