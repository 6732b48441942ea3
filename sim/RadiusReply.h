#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/RadiusPacket.h"

namespace rizorivu::sim {

// A server's answer to one Access-Request, believed only after every check: the identifier
// and Response Authenticator match the request, the Message-Authenticator is present and
// right, and for an Accept the MS-MPPE keys decrypt with valid salt and padding.
class RadiusReply {
public:
    std::uint8_t code = 0;  // Accept, Reject or Challenge
    std::vector<std::uint8_t> eap;
    std::vector<std::uint8_t> state;
    // The 32-byte master key (MS-MPPE-Recv-Key) of an Accept; empty when the Accept carried
    // none that decrypts to 32 bytes, so the access point cannot key the station.
    std::optional<std::array<std::uint8_t, 32>> masterKey;

    // Empty for anything not to be believed; the request as it was sent.
    static std::optional<RadiusReply> read(std::span<const std::uint8_t> bytes,
                                           const RadiusPacket& request,
                                           std::span<const std::uint8_t> secret);

    // An MS-MPPE key attribute's value (salt and encrypted string) decrypted as RFC 2548
    // 2.4.2 describes; empty when the salt's top bit is clear, the string is not whole
    // 16-byte blocks, the key length overruns it or the padding is not zero.
    static std::optional<std::vector<std::uint8_t>> decryptMppeKey(
        std::span<const std::uint8_t> value, std::span<const std::uint8_t> secret,
        const RadiusAuthenticator& requestAuthenticator);
};

}  // namespace rizorivu::sim
