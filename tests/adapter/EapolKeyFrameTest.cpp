#include "adapter/EapolKeyFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/HexBytes.h"

namespace rizorivu {
namespace {

using Bytes = std::vector<std::uint8_t>;

EapolKeyFrame sampleFrame() {
    EapolKeyFrame f;
    f.keyInfo = keyinfo::kVersionSha1Aes | keyinfo::kPairwise | keyinfo::kAck | keyinfo::kMic;
    f.keyLength = 16;
    f.replayCounter = 0x0102030405060708ULL;
    f.nonce.fill(0xA5);
    f.iv.fill(0x11);
    f.rsc.fill(0x22);
    f.mic.fill(0);
    f.keyData = {0xDD, 0x03, 0x00, 0x50, 0xF2};
    return f;
}

TEST(EapolKeyFrameTest, RoundTripsEveryFieldInNetworkOrder) {
    const EapolKeyFrame f = sampleFrame();
    const Bytes bytes = f.serialize();
    ASSERT_EQ(bytes.size(), 4u + 95u + 5u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 3);
    EXPECT_EQ(bytes[2] << 8 | bytes[3], 100);
    EXPECT_EQ(bytes[4], 254);
    EXPECT_EQ(bytes[5] << 8 | bytes[6], 0x018A);  // key information, big-endian
    EXPECT_EQ(bytes[9], 0x01);                    // replay counter, most significant first
    EXPECT_EQ(bytes[16], 0x08);
    const auto parsed = EapolKeyFrame::parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->keyInfo, f.keyInfo);
    EXPECT_EQ(parsed->keyLength, 16);
    EXPECT_EQ(parsed->replayCounter, f.replayCounter);
    EXPECT_EQ(parsed->nonce, f.nonce);
    EXPECT_EQ(parsed->iv, f.iv);
    EXPECT_EQ(parsed->rsc, f.rsc);
    EXPECT_EQ(parsed->keyData, f.keyData);
    EXPECT_EQ(parsed->descriptorVersion(), 2);
    EXPECT_TRUE(parsed->has(keyinfo::kPairwise | keyinfo::kAck));
    EXPECT_FALSE(parsed->has(keyinfo::kInstall));
}

struct BadFrame {
    const char* name;
    std::function<void(Bytes&)> spoil;
};

TEST(EapolKeyFrameTest, RefusesMalformedFrames) {
    const BadFrame cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"header only", [](Bytes& b) { b.resize(4); }},
        {"truncated body", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"not a key frame", [](Bytes& b) { b[1] = 0; }},
        {"802.1X's own RC4 descriptor", [](Bytes& b) { b[4] = 1; }},
        {"body longer than frame", [](Bytes& b) { b[3] += 1; }},
        {"body shorter than fixed part",
         [](Bytes& b) {
             b[2] = 0;
             b[3] = 94;
         }},
        {"key data length lies", [](Bytes& b) { b[98] = 6; }},
        {"key data length huge",
         [](Bytes& b) {
             b[97] = 0xFF;
             b[98] = 0xFF;
         }},
        {"key data over the limit",
         [](Bytes& b) {
             b.resize(4 + 95 + 513, 0);
             b[2] = (95 + 513) >> 8;
             b[3] = (95 + 513) & 0xFF;
             b[97] = 513 >> 8;
             b[98] = 513 & 0xFF;
         }},
    };
    for (const auto& c : cases) {
        Bytes bytes = sampleFrame().serialize();
        c.spoil(bytes);
        EXPECT_FALSE(EapolKeyFrame::parse(bytes)) << c.name;
    }
}

TEST(EapolKeyFrameTest, IgnoresPaddingAfterTheBodyAndKeepsLargestKeyData) {
    Bytes bytes = sampleFrame().serialize();
    bytes.resize(bytes.size() + 20, 0xEE);  // link-layer padding
    ASSERT_TRUE(EapolKeyFrame::parse(bytes));
    EXPECT_EQ(EapolKeyFrame::parse(bytes)->keyData.size(), 5u);

    EapolKeyFrame big = sampleFrame();
    big.keyData.assign(EapolKeyFrame::kMaxKeyDataBytes, 0x33);
    const auto parsed = EapolKeyFrame::parse(big.serialize());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->keyData.size(), EapolKeyFrame::kMaxKeyDataBytes);
}

TEST(EapolKeyFrameTest, MicCoversTheWholeFrameForBothVersions) {
    std::array<std::uint8_t, 16> kck{};
    kck.fill(0x5A);
    for (std::uint16_t version : {keyinfo::kVersionMd5Rc4, keyinfo::kVersionSha1Aes}) {
        EapolKeyFrame f = sampleFrame();
        f.keyInfo = static_cast<std::uint16_t>((f.keyInfo & ~keyinfo::kVersionMask) | version);
        Bytes bytes = f.serialize();
        ASSERT_TRUE(signKeyFrame(bytes, kck));
        EXPECT_NE(EapolKeyFrame::parse(bytes)->mic, f.mic);
        EXPECT_TRUE(keyFrameMicValid(bytes, kck));
        std::array<std::uint8_t, 16> otherKck = kck;
        otherKck[0] ^= 1;
        EXPECT_FALSE(keyFrameMicValid(bytes, otherKck));
        for (std::size_t at : {std::size_t{0}, std::size_t{9}, bytes.size() - 1}) {
            Bytes tampered = bytes;
            tampered[at] ^= 0x01;
            EXPECT_FALSE(keyFrameMicValid(tampered, kck)) << "byte " << at;
        }
    }
    Bytes unknownVersion = sampleFrame().serialize();
    unknownVersion[6] = static_cast<std::uint8_t>((unknownVersion[6] & ~0x07) | 3);
    EXPECT_FALSE(signKeyFrame(unknownVersion, kck));
    EXPECT_FALSE(keyFrameMicValid(unknownVersion, kck));
    Bytes truncated(50, 0);
    EXPECT_FALSE(signKeyFrame(truncated, kck));
}

// Message 2 of a WPA2-PSK handshake over the pairwise key derivation vector of IEEE 802.11i
// Annex H (SNonce c0 c1 ..., KCK 379f9852...): the descriptor-2 frame byte for byte, and its
// MIC as HMAC-SHA1-128 (version 2) and HMAC-MD5 (version 1) compute it over those bytes.
TEST(EapolKeyFrameTest, Descriptor2FrameAndMicOverTheAnnexHKeys) {
    EapolKeyFrame m2;
    m2.descriptorType = EapolKeyFrame::kDescriptorRsn;
    m2.keyInfo = keyinfo::kVersionSha1Aes | keyinfo::kPairwise | keyinfo::kMic;
    m2.replayCounter = 1;
    const Bytes snonce =
        testing::hexBytes("c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9dadbdcdddedfe0e1e2e3e4e5");
    std::copy(snonce.begin(), snonce.end(), m2.nonce.begin());
    m2.keyData = testing::hexBytes("30140100000fac040100000fac040100000fac020000");
    Bytes bytes = m2.serialize();
    const Bytes expected = testing::hexBytes(
        "0103007502010a00000000000000000001"
        "c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9dadbdcdddedfe0e1e2e3e4e5"
        "00000000000000000000000000000000"   // IV
        "0000000000000000 0000000000000000"  // RSC, ID
        "00000000000000000000000000000000"   // MIC
        "0016 30140100000fac040100000fac040100000fac020000");
    EXPECT_EQ(bytes, expected);

    const Bytes kckBytes = testing::hexBytes("379f9852d0199236b94e407ce4c00ec8");
    std::array<std::uint8_t, 16> kck{};
    std::copy(kckBytes.begin(), kckBytes.end(), kck.begin());
    ASSERT_TRUE(signKeyFrame(bytes, kck));
    const auto signedFrame = EapolKeyFrame::parse(bytes);
    ASSERT_TRUE(signedFrame);
    EXPECT_EQ(signedFrame->descriptorType, EapolKeyFrame::kDescriptorRsn);
    EXPECT_EQ(Bytes(signedFrame->mic.begin(), signedFrame->mic.end()),
              testing::hexBytes("8973b136177f418b67e1ff91f6597074"));

    bytes = expected;
    bytes[6] = 0x09;  // the same frame under descriptor version 1
    ASSERT_TRUE(signKeyFrame(bytes, kck));
    EXPECT_EQ(Bytes(bytes.begin() + EapolKeyFrame::kMicOffset,
                    bytes.begin() + EapolKeyFrame::kMicOffset + 16),
              testing::hexBytes("84a0517ec94ed9ebe0cc1414a8311162"));
}

TEST(EapolKeyFrameTest, StartFrameIsAnEmptyStartPacket) {
    EXPECT_EQ(eapolStartFrame(), (Bytes{1, 1, 0, 0}));
}

}  // namespace
}  // namespace rizorivu
