#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// EAP codes and the method types the utility's supplicant and the simulated access point
// speak of (IANA numbering).
namespace eap {
constexpr std::uint8_t kRequest = 1;
constexpr std::uint8_t kResponse = 2;
constexpr std::uint8_t kSuccess = 3;
constexpr std::uint8_t kFailure = 4;

constexpr std::uint8_t kTypeIdentity = 1;
constexpr std::uint8_t kTypeNotification = 2;
constexpr std::uint8_t kTypeNak = 3;
constexpr std::uint8_t kTypeMd5Challenge = 4;
constexpr std::uint8_t kTypeTls = 13;
constexpr std::uint8_t kTypePeap = 25;
constexpr std::uint8_t kTypeMsChapV2 = 26;
constexpr std::uint8_t kTypeExtensions = 33;

// EAPOL packet types carried in the 802.1X header.
constexpr std::uint8_t kEapolPacket = 0;
constexpr std::uint8_t kEapolStart = 1;
constexpr std::uint8_t kEapolLogoff = 2;
constexpr std::uint8_t kEapolKey = 3;
}  // namespace eap

// One 802.1X frame seen as its header and body. `body` points into the bytes parsed.
struct EapolFrameView {
    std::uint8_t version = 0;
    std::uint8_t packetType = 0;
    std::span<const std::uint8_t> body;

    // Empty when the frame is shorter than its header or its body length overruns it.
    // Bytes after the stated body (Ethernet padding) are ignored.
    static std::optional<EapolFrameView> parse(std::span<const std::uint8_t> frame);
};

// The 802.1X frame carrying `body` (an EAP packet for eap::kEapolPacket), version 1.
std::vector<std::uint8_t> eapolFrame(std::uint8_t packetType, std::span<const std::uint8_t> body);

// One EAP packet: code, identifier, and for requests and responses the method type and its
// data. `data` and `packet` point into the bytes parsed; `packet` is exactly the stated length.
struct EapPacketView {
    std::uint8_t code = 0;
    std::uint8_t identifier = 0;
    std::uint8_t type = 0;  // requests and responses only
    std::span<const std::uint8_t> data;
    std::span<const std::uint8_t> packet;

    // Empty for an unknown code, a length below the header or beyond the bytes given, and a
    // request or response without a type. Trailing bytes are ignored.
    static std::optional<EapPacketView> parse(std::span<const std::uint8_t> bytes);
};

// A request or response of `type` with `data`; refuses (empty) what would exceed 65535 bytes.
std::vector<std::uint8_t> eapPacket(std::uint8_t code, std::uint8_t identifier, std::uint8_t type,
                                    std::span<const std::uint8_t> data);
// A success or failure packet (four bytes).
std::vector<std::uint8_t> eapStatus(std::uint8_t code, std::uint8_t identifier);

}  // namespace rizorivu
