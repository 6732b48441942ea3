#include "sim/RadiusPacket.h"

#include <algorithm>

#include "crypto/Md5Digest.h"
#include "crypto/MessageIntegrity.h"

namespace rizorivu::sim {

namespace {

constexpr std::size_t kMessageAuthenticatorBytes = 16;

// Fills the zeroed Message-Authenticator of `bytes` (HMAC-MD5 over the whole packet).
bool sign(std::vector<std::uint8_t>& bytes, std::span<const std::uint8_t> secret) {
    std::size_t at = radius::kHeaderBytes;
    while (at + 2 <= bytes.size()) {
        if (bytes[at] == radius::kMessageAuthenticator) {
            crypto::Mic mic{};
            if (!crypto::hmacMd5(secret, bytes, mic)) {
                return false;
            }
            std::copy(mic.begin(), mic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 2));
            return true;
        }
        at += bytes[at + 1];
    }
    return false;
}

}  // namespace

bool RadiusPacket::add(std::uint8_t type, std::span<const std::uint8_t> value) {
    if (value.empty() || value.size() > radius::kMaxValueBytes) {
        return false;
    }
    attributes.push_back(RadiusAttribute{type, {value.begin(), value.end()}});
    return true;
}

bool RadiusPacket::addText(std::uint8_t type, std::string_view text) {
    return add(type, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void RadiusPacket::addInteger(std::uint8_t type, std::uint32_t value) {
    const std::array<std::uint8_t, 4> bytes{
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    add(type, bytes);
}

void RadiusPacket::addEapMessage(std::span<const std::uint8_t> eap) {
    while (!eap.empty()) {
        const std::size_t n = std::min(eap.size(), radius::kMaxValueBytes);
        add(radius::kEapMessage, eap.first(n));
        eap = eap.subspan(n);
    }
}

const RadiusAttribute* RadiusPacket::find(std::uint8_t type) const {
    const auto it = std::find_if(attributes.begin(), attributes.end(),
                                 [type](const RadiusAttribute& a) { return a.type == type; });
    return it == attributes.end() ? nullptr : &*it;
}

std::vector<std::uint8_t> RadiusPacket::eapMessage() const {
    std::vector<std::uint8_t> eap;
    for (const RadiusAttribute& a : attributes) {
        if (a.type == radius::kEapMessage) {
            eap.insert(eap.end(), a.value.begin(), a.value.end());
        }
    }
    return eap;
}

std::optional<std::vector<std::uint8_t>> RadiusPacket::serialise() const {
    std::vector<std::uint8_t> bytes{code, identifier, 0, 0};
    bytes.insert(bytes.end(), authenticator.begin(), authenticator.end());
    for (const RadiusAttribute& a : attributes) {
        if (a.value.size() > radius::kMaxValueBytes) {
            return std::nullopt;
        }
        bytes.push_back(a.type);
        bytes.push_back(static_cast<std::uint8_t>(a.value.size() + 2));
        bytes.insert(bytes.end(), a.value.begin(), a.value.end());
    }
    if (bytes.size() > radius::kMaxPacketBytes) {
        return std::nullopt;
    }
    bytes[2] = static_cast<std::uint8_t>(bytes.size() >> 8);
    bytes[3] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

std::optional<std::vector<std::uint8_t>> RadiusPacket::encodeRequest(
    std::span<const std::uint8_t> secret) const {
    RadiusPacket signed_ = *this;
    std::erase_if(signed_.attributes,
                  [](const RadiusAttribute& a) { return a.type == radius::kMessageAuthenticator; });
    signed_.attributes.push_back(RadiusAttribute{
        radius::kMessageAuthenticator, std::vector<std::uint8_t>(kMessageAuthenticatorBytes, 0)});
    auto bytes = signed_.serialise();
    if (!bytes || !sign(*bytes, secret)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> RadiusPacket::encodeReply(
    const RadiusAuthenticator& requestAuthenticator, std::span<const std::uint8_t> secret,
    bool messageAuthenticator) const {
    RadiusPacket reply = *this;
    reply.authenticator = requestAuthenticator;
    std::erase_if(reply.attributes,
                  [](const RadiusAttribute& a) { return a.type == radius::kMessageAuthenticator; });
    if (messageAuthenticator) {
        reply.attributes.push_back(
            RadiusAttribute{radius::kMessageAuthenticator,
                            std::vector<std::uint8_t>(kMessageAuthenticatorBytes, 0)});
    }
    auto bytes = reply.serialise();
    if (!bytes || (messageAuthenticator && !sign(*bytes, secret))) {
        return std::nullopt;
    }
    crypto::Md5 response{};
    if (!crypto::md5Digest({*bytes, secret}, response)) {
        return std::nullopt;
    }
    std::copy(response.begin(), response.end(), bytes->begin() + 4);
    return bytes;
}

std::optional<RadiusPacket> RadiusPacket::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < radius::kHeaderBytes) {
        return std::nullopt;
    }
    const std::size_t length = static_cast<std::size_t>(bytes[2]) << 8 | bytes[3];
    if (length < radius::kHeaderBytes || length > radius::kMaxPacketBytes ||
        length > bytes.size()) {
        return std::nullopt;
    }
    RadiusPacket p;
    p.code = bytes[0];
    p.identifier = bytes[1];
    std::copy_n(bytes.begin() + 4, p.authenticator.size(), p.authenticator.begin());
    std::size_t at = radius::kHeaderBytes;
    while (at < length) {
        if (length - at < 2 || bytes[at + 1] < 2 || bytes[at + 1] > length - at) {
            return std::nullopt;
        }
        const auto value = bytes.subspan(at + 2, bytes[at + 1] - 2u);
        p.attributes.push_back(RadiusAttribute{bytes[at], {value.begin(), value.end()}});
        at += bytes[at + 1];
    }
    return p;
}

}  // namespace rizorivu::sim
