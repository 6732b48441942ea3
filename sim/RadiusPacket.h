#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace rizorivu::sim {

// RADIUS codes and the attributes the access point's relay writes and reads.
namespace radius {
constexpr std::uint8_t kAccessRequest = 1;
constexpr std::uint8_t kAccessAccept = 2;
constexpr std::uint8_t kAccessReject = 3;
constexpr std::uint8_t kAccessChallenge = 11;

constexpr std::uint8_t kUserName = 1;
constexpr std::uint8_t kNasIpAddress = 4;
constexpr std::uint8_t kNasPort = 5;
constexpr std::uint8_t kFramedMtu = 12;
constexpr std::uint8_t kState = 24;
constexpr std::uint8_t kVendorSpecific = 26;
constexpr std::uint8_t kCalledStationId = 30;
constexpr std::uint8_t kCallingStationId = 31;
constexpr std::uint8_t kNasIdentifier = 32;
constexpr std::uint8_t kNasPortType = 61;
constexpr std::uint8_t kEapMessage = 79;
constexpr std::uint8_t kMessageAuthenticator = 80;

constexpr std::uint32_t kVendorMicrosoft = 311;
constexpr std::uint8_t kMsMppeSendKey = 16;
constexpr std::uint8_t kMsMppeRecvKey = 17;

constexpr std::uint32_t kNasPortTypeWireless = 19;  // IEEE 802.11
constexpr std::size_t kHeaderBytes = 20;
constexpr std::size_t kMaxPacketBytes = 4096;
constexpr std::size_t kMaxValueBytes = 253;
}  // namespace radius

using RadiusAuthenticator = std::array<std::uint8_t, 16>;

struct RadiusAttribute {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> value;  // at most 253 bytes
};

// One RADIUS packet: header and attributes in order. Requests are written with a
// Message-Authenticator; parsing checks only the framing, RadiusReply checks the rest.
class RadiusPacket {
public:
    std::uint8_t code = 0;
    std::uint8_t identifier = 0;
    RadiusAuthenticator authenticator{};
    std::vector<RadiusAttribute> attributes;

    // False (nothing added) for a value over 253 bytes or an empty one.
    bool add(std::uint8_t type, std::span<const std::uint8_t> value);
    bool addText(std::uint8_t type, std::string_view text);
    void addInteger(std::uint8_t type, std::uint32_t value);
    // An EAP packet in as many EAP-Message attributes of at most 253 bytes as it takes.
    void addEapMessage(std::span<const std::uint8_t> eap);

    const RadiusAttribute* find(std::uint8_t type) const;
    // Every EAP-Message attribute joined in order; empty when there is none.
    std::vector<std::uint8_t> eapMessage() const;

    // The request's bytes with its Message-Authenticator (HMAC-MD5 keyed with the secret,
    // over the packet with the field zeroed); empty when it would exceed 4096 bytes.
    std::optional<std::vector<std::uint8_t>> encodeRequest(
        std::span<const std::uint8_t> secret) const;
    // A reply's bytes as a server writes them: Message-Authenticator over the packet with the
    // request's authenticator, then the Response Authenticator. Used by tests' servers.
    std::optional<std::vector<std::uint8_t>> encodeReply(
        const RadiusAuthenticator& requestAuthenticator, std::span<const std::uint8_t> secret,
        bool messageAuthenticator = true) const;

    // The packet within its stated length: empty when the length is below the header, above
    // 4096 or beyond the bytes given, or an attribute overruns it. Trailing bytes are ignored.
    static std::optional<RadiusPacket> parse(std::span<const std::uint8_t> bytes);

private:
    std::optional<std::vector<std::uint8_t>> serialise() const;
};

}  // namespace rizorivu::sim
