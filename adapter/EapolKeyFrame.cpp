#include "adapter/EapolKeyFrame.h"

#include <algorithm>

#include "crypto/MessageIntegrity.h"

namespace rizorivu {

namespace {

std::uint16_t getBe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void putBe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

// The length of the frame's header and stated body when it is a well-formed EAPOL-Key frame.
std::optional<std::size_t> keyFrameLength(std::span<const std::uint8_t> frame) {
    constexpr std::size_t kHeader = EapolKeyFrame::kHeaderBytes;
    if (frame.size() < kHeader + EapolKeyFrame::kFixedBytes ||
        frame[1] != EapolKeyFrame::kPacketKey ||
        (frame[4] != EapolKeyFrame::kDescriptorWpa && frame[4] != EapolKeyFrame::kDescriptorRsn)) {
        return std::nullopt;
    }
    const std::size_t body = getBe16(&frame[2]);
    if (body < EapolKeyFrame::kFixedBytes || kHeader + body > frame.size()) {
        return std::nullopt;
    }
    const std::size_t keyData = getBe16(&frame[kHeader + EapolKeyFrame::kFixedBytes - 2]);
    if (keyData > EapolKeyFrame::kMaxKeyDataBytes || EapolKeyFrame::kFixedBytes + keyData > body) {
        return std::nullopt;
    }
    return kHeader + body;
}

bool computeMic(std::span<const std::uint8_t> frame, std::span<const std::uint8_t, 16> kck,
                crypto::Mic& mic) {
    const auto length = keyFrameLength(frame);
    if (!length) {
        return false;
    }
    std::vector<std::uint8_t> zeroed(frame.begin(), frame.begin() + *length);
    std::fill_n(zeroed.begin() + EapolKeyFrame::kMicOffset, 16, std::uint8_t{0});
    switch (getBe16(&frame[EapolKeyFrame::kHeaderBytes + 1]) & keyinfo::kVersionMask) {
        case keyinfo::kVersionMd5Rc4:
            return crypto::hmacMd5(kck, zeroed, mic);
        case keyinfo::kVersionSha1Aes:
            return crypto::hmacSha1_128(kck, zeroed, mic);
        default:
            return false;
    }
}

}  // namespace

std::optional<EapolKeyFrame> EapolKeyFrame::parse(std::span<const std::uint8_t> frame) {
    if (!keyFrameLength(frame)) {
        return std::nullopt;
    }
    EapolKeyFrame out;
    const std::uint8_t* p = frame.data() + kHeaderBytes + 1;
    out.protocolVersion = frame[0];
    out.descriptorType = frame[kHeaderBytes];
    out.keyInfo = getBe16(p);
    out.keyLength = getBe16(p + 2);
    p += 4;
    for (int i = 0; i < 8; ++i) {
        out.replayCounter = out.replayCounter << 8 | p[i];
    }
    p += 8;
    std::copy_n(p, out.nonce.size(), out.nonce.begin());
    p += out.nonce.size();
    std::copy_n(p, out.iv.size(), out.iv.begin());
    p += out.iv.size();
    std::copy_n(p, out.rsc.size(), out.rsc.begin());
    p += out.rsc.size();
    std::copy_n(p, out.id.size(), out.id.begin());
    p += out.id.size();
    std::copy_n(p, out.mic.size(), out.mic.begin());
    p += out.mic.size();
    const std::size_t keyData = getBe16(p);
    out.keyData.assign(p + 2, p + 2 + keyData);
    return out;
}

std::vector<std::uint8_t> EapolKeyFrame::serialize() const {
    const std::size_t keyDataBytes = std::min(keyData.size(), kMaxKeyDataBytes);
    const std::size_t body = kFixedBytes + keyDataBytes;
    std::vector<std::uint8_t> out(kHeaderBytes + body);
    out[0] = protocolVersion;
    out[1] = kPacketKey;
    putBe16(&out[2], static_cast<std::uint16_t>(body));
    std::uint8_t* p = out.data() + kHeaderBytes;
    *p++ = descriptorType;
    putBe16(p, keyInfo);
    putBe16(p + 2, keyLength);
    p += 4;
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<std::uint8_t>(replayCounter >> (56 - 8 * i));
    }
    p += 8;
    p = std::copy(nonce.begin(), nonce.end(), p);
    p = std::copy(iv.begin(), iv.end(), p);
    p = std::copy(rsc.begin(), rsc.end(), p);
    p = std::copy(id.begin(), id.end(), p);
    p = std::copy(mic.begin(), mic.end(), p);
    putBe16(p, static_cast<std::uint16_t>(keyDataBytes));
    std::copy_n(keyData.begin(), keyDataBytes, p + 2);
    return out;
}

std::vector<std::uint8_t> eapolStartFrame() {
    return {EapolKeyFrame::kProtocolVersion, EapolKeyFrame::kPacketStart, 0, 0};
}

bool signKeyFrame(std::span<std::uint8_t> frame, std::span<const std::uint8_t, 16> kck) {
    crypto::Mic mic{};
    if (!computeMic(frame, kck, mic)) {
        return false;
    }
    std::copy(mic.begin(), mic.end(), frame.begin() + EapolKeyFrame::kMicOffset);
    return true;
}

bool keyFrameMicValid(std::span<const std::uint8_t> frame, std::span<const std::uint8_t, 16> kck) {
    crypto::Mic mic{};
    return computeMic(frame, kck, mic) &&
           crypto::micEqual(mic, frame.subspan<EapolKeyFrame::kMicOffset, 16>());
}

}  // namespace rizorivu
