#include "sim/RadiusReply.h"

#include <algorithm>

#include <openssl/crypto.h>

#include "crypto/Md5Digest.h"
#include "crypto/MessageIntegrity.h"

namespace rizorivu::sim {

namespace {

constexpr std::size_t kBlock = 16;

// The value of the Microsoft vendor attribute `type` inside one Vendor-Specific attribute.
std::optional<std::span<const std::uint8_t>> microsoftValue(std::span<const std::uint8_t> vsa,
                                                            std::uint8_t type) {
    if (vsa.size() < 4 || (std::uint32_t{vsa[0]} << 24 | std::uint32_t{vsa[1]} << 16 |
                           std::uint32_t{vsa[2]} << 8 | vsa[3]) != radius::kVendorMicrosoft) {
        return std::nullopt;
    }
    vsa = vsa.subspan(4);
    while (vsa.size() >= 2) {
        const std::size_t length = vsa[1];
        if (length < 2 || length > vsa.size()) {
            return std::nullopt;
        }
        if (vsa[0] == type) {
            return vsa.subspan(2, length - 2);
        }
        vsa = vsa.subspan(length);
    }
    return std::nullopt;
}

bool messageAuthenticatorHolds(std::span<const std::uint8_t> bytes, const RadiusPacket& reply,
                               const RadiusPacket& request, std::span<const std::uint8_t> secret) {
    // Recomputed over the packet with the request's authenticator and the field zeroed.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    std::copy(request.authenticator.begin(), request.authenticator.end(), copy.begin() + 4);
    std::size_t at = radius::kHeaderBytes;
    std::optional<std::size_t> field;
    for (const RadiusAttribute& a : reply.attributes) {
        if (a.type == radius::kMessageAuthenticator) {
            if (field || a.value.size() != kBlock) {
                return false;  // one 16-byte field, no more
            }
            field = at + 2;
        }
        at += a.value.size() + 2;
    }
    if (!field) {
        return false;
    }
    std::fill_n(copy.begin() + static_cast<std::ptrdiff_t>(*field), kBlock, 0);
    crypto::Mic mic{};
    if (!crypto::hmacMd5(secret, copy, mic)) {
        return false;
    }
    return crypto::micEqual(mic, std::span<const std::uint8_t, 16>(bytes.subspan(*field, kBlock)));
}

}  // namespace

std::optional<RadiusReply> RadiusReply::read(std::span<const std::uint8_t> bytes,
                                             const RadiusPacket& request,
                                             std::span<const std::uint8_t> secret) {
    const auto packet = RadiusPacket::parse(bytes);
    if (!packet || packet->identifier != request.identifier ||
        (packet->code != radius::kAccessAccept && packet->code != radius::kAccessReject &&
         packet->code != radius::kAccessChallenge)) {
        return std::nullopt;
    }
    const std::size_t length = static_cast<std::size_t>(bytes[2]) << 8 | bytes[3];
    bytes = bytes.first(length);
    crypto::Md5 expected{};
    if (!crypto::md5Digest(
            {bytes.first(4), request.authenticator, bytes.subspan(radius::kHeaderBytes), secret},
            expected) ||
        !crypto::micEqual(expected, packet->authenticator) ||
        !messageAuthenticatorHolds(bytes, *packet, request, secret)) {
        return std::nullopt;
    }
    RadiusReply reply;
    reply.code = packet->code;
    reply.eap = packet->eapMessage();
    if (const RadiusAttribute* state = packet->find(radius::kState)) {
        reply.state = state->value;
    }
    if (reply.code != radius::kAccessAccept) {
        return reply;
    }
    for (const RadiusAttribute& a : packet->attributes) {
        if (a.type != radius::kVendorSpecific) {
            continue;
        }
        const auto value = microsoftValue(a.value, radius::kMsMppeRecvKey);
        if (!value) {
            continue;
        }
        auto key = decryptMppeKey(*value, secret, request.authenticator);
        if (key && key->size() == 32) {
            reply.masterKey.emplace();
            std::copy(key->begin(), key->end(), reply.masterKey->begin());
        }
        if (key) {
            OPENSSL_cleanse(key->data(), key->size());
        }
        break;
    }
    return reply;
}

std::optional<std::vector<std::uint8_t>> RadiusReply::decryptMppeKey(
    std::span<const std::uint8_t> value, std::span<const std::uint8_t> secret,
    const RadiusAuthenticator& requestAuthenticator) {
    if (value.size() < 2 + kBlock || (value.size() - 2) % kBlock != 0 || (value[0] & 0x80) == 0) {
        return std::nullopt;
    }
    const auto salt = value.first(2);
    const auto cipher = value.subspan(2);
    std::vector<std::uint8_t> plain(cipher.size());
    std::span<const std::uint8_t> chain = requestAuthenticator;
    for (std::size_t at = 0; at < cipher.size(); at += kBlock) {
        crypto::Md5 b{};
        const bool ok = at == 0 ? crypto::md5Digest({secret, chain, salt}, b)
                                : crypto::md5Digest({secret, chain}, b);
        if (!ok) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < kBlock; ++i) {
            plain[at + i] = cipher[at + i] ^ b[i];
        }
        chain = cipher.subspan(at, kBlock);
    }
    const std::size_t keyBytes = plain[0];
    const bool padded = keyBytes + 1 <= plain.size() &&
                        std::all_of(plain.begin() + 1 + static_cast<std::ptrdiff_t>(keyBytes),
                                    plain.end(), [](std::uint8_t b) { return b == 0; });
    std::optional<std::vector<std::uint8_t>> key;
    if (padded) {
        key.emplace(plain.begin() + 1, plain.begin() + 1 + static_cast<std::ptrdiff_t>(keyBytes));
    }
    OPENSSL_cleanse(plain.data(), plain.size());
    return key;
}

}  // namespace rizorivu::sim
