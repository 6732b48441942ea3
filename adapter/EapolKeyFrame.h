#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu {

// Bits of an EAPOL-Key frame's key information field (big-endian on the air).
namespace keyinfo {
constexpr std::uint16_t kVersionMask = 0x0007;
constexpr std::uint16_t kVersionMd5Rc4 = 1;   // HMAC-MD5 MIC, RC4 key data (TKIP)
constexpr std::uint16_t kVersionSha1Aes = 2;  // HMAC-SHA1-128 MIC, AES key wrap (CCMP)
constexpr std::uint16_t kPairwise = 0x0008;
constexpr std::uint16_t kIndexMask = 0x0030;
constexpr int kIndexShift = 4;
constexpr std::uint16_t kInstall = 0x0040;
constexpr std::uint16_t kAck = 0x0080;
constexpr std::uint16_t kMic = 0x0100;
constexpr std::uint16_t kSecure = 0x0200;
constexpr std::uint16_t kError = 0x0400;
constexpr std::uint16_t kRequest = 0x0800;
constexpr std::uint16_t kEncryptedKeyData = 0x1000;  // RSN: the key data is under the KEK
}  // namespace keyinfo

// One 802.1X frame carrying an EAPOL-Key descriptor, WPA's (type 254) or the RSN one of
// 802.11i (type 2, WPA2), which share one layout: the 4-byte EAPOL header (protocol version,
// packet type 3, body length) and the descriptor's fixed 95 bytes and key data. Both the
// supplicant and an access point's authenticator read and write frames here.
struct EapolKeyFrame {
    static constexpr std::uint8_t kProtocolVersion = 1;
    static constexpr std::uint8_t kPacketStart = 1;
    static constexpr std::uint8_t kPacketKey = 3;
    static constexpr std::uint8_t kDescriptorWpa = 254;
    static constexpr std::uint8_t kDescriptorRsn = 2;
    static constexpr std::size_t kHeaderBytes = 4;
    static constexpr std::size_t kFixedBytes = 95;
    static constexpr std::size_t kMicOffset = kHeaderBytes + 77;
    // Far more than a WPA element or a wrapped group key needs; anything longer is refused.
    static constexpr std::size_t kMaxKeyDataBytes = 512;

    std::uint8_t protocolVersion = kProtocolVersion;
    std::uint8_t descriptorType = kDescriptorWpa;
    std::uint16_t keyInfo = 0;
    std::uint16_t keyLength = 0;
    std::uint64_t replayCounter = 0;
    std::array<std::uint8_t, 32> nonce{};
    std::array<std::uint8_t, 16> iv{};
    std::array<std::uint8_t, 8> rsc{};
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 16> mic{};
    std::vector<std::uint8_t> keyData;

    // Refuses (empty) a frame that is truncated, not an EAPOL-Key frame, of a descriptor other
    // than those two, whose body length or key data length overruns the bytes given, or whose
    // key data is longer than kMaxKeyDataBytes. Bytes after the stated body are ignored.
    static std::optional<EapolKeyFrame> parse(std::span<const std::uint8_t> frame);
    std::vector<std::uint8_t> serialize() const;

    int descriptorVersion() const { return keyInfo & keyinfo::kVersionMask; }
    int keyIndex() const { return (keyInfo & keyinfo::kIndexMask) >> keyinfo::kIndexShift; }
    bool has(std::uint16_t bits) const { return (keyInfo & bits) == bits; }
};

// The EAPOL-Start frame a supplicant sends to ask the access point to begin.
std::vector<std::uint8_t> eapolStartFrame();

// Writes the MIC of a serialized EAPOL-Key frame (over the whole frame with its MIC field
// zero) into the frame, with HMAC-MD5 for descriptor version 1 and HMAC-SHA1-128 for 2. False
// when the frame is not one `parse` accepts or the version is neither.
bool signKeyFrame(std::span<std::uint8_t> frame, std::span<const std::uint8_t, 16> kck);
// True when the frame's MIC is the one `signKeyFrame` would write.
bool keyFrameMicValid(std::span<const std::uint8_t> frame, std::span<const std::uint8_t, 16> kck);

}  // namespace rizorivu
