// EAPOL-Key frames come from the air. The parser must refuse or read within the bytes given,
// and the supplicant must survive any sequence of frames in any handshake state without
// installing a key the frames did not earn.
//
// Input: byte 0 picks the ciphers, WPA or WPA2 (the RSN element and descriptor 2), whether the
// harness signs the frames (so that the checks after the MIC are reached) and whether it puts
// their key data under the KEK first (so that the key data elements are read); the rest is
// frames, each led by a 2-byte length. The key data parser also reads the whole input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/AuthenticationMode.h"
#include "adapter/DriverCode.h"
#include "adapter/EapolKeyFrame.h"
#include "adapter/KeyDataElements.h"
#include "adapter/KeyNegotiationContext.h"
#include "adapter/RsnElement.h"
#include "adapter/WpaElement.h"
#include "crypto/KeyDataCipher.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/NonceSource.h"
#include "dot1x/KeyHandshake.h"
#include "platform/Clock.h"
#include "tests/support/LoopbackEapol.h"

using namespace rizorivu;

namespace {

struct FixedNonces final : crypto::NonceSource {
    bool fill(std::span<std::uint8_t> nonce) override {
        std::fill(nonce.begin(), nonce.end(), 0x5C);
        return true;
    }
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkParser(const std::vector<std::uint8_t>& bytes) {
    const auto frame = EapolKeyFrame::parse(bytes);
    if (!frame) {
        return;
    }
    check(frame->keyData.size() <= EapolKeyFrame::kMaxKeyDataBytes);
    check(EapolKeyFrame::kHeaderBytes + EapolKeyFrame::kFixedBytes + frame->keyData.size() <=
          bytes.size());
    const auto again = EapolKeyFrame::parse(frame->serialize());
    check(again && again->keyData == frame->keyData && again->keyInfo == frame->keyInfo &&
          again->replayCounter == frame->replayCounter && again->mic == frame->mic);
}

void checkKeyData(std::span<const std::uint8_t> bytes) {
    const auto elements = KeyDataElements::parse(bytes);
    if (!elements) {
        return;
    }
    const auto inside = [&](std::span<const std::uint8_t> part) {
        return part.data() >= bytes.data() &&
               part.data() + part.size() <= bytes.data() + bytes.size();
    };
    for (const auto element : elements->rsnElements) {
        check(inside(element) && element[0] == 48 && element.size() == element[1] + 2u);
    }
    if (elements->groupKey) {
        check(inside(elements->groupKey->key) && !elements->groupKey->key.empty() &&
              elements->groupKey->key.size() <= KeyDataElements::kMaxGroupKeyBytes &&
              elements->groupKey->index >= 0 && elements->groupKey->index <= 3);
    }
}

// Puts a frame's key data under the KEK, as an access point holding `keys` would.
void seal(std::vector<std::uint8_t>& frame, const crypto::PairwiseKeys& keys,
          const crypto::Rc4Cipher& rc4) {
    auto parsed = EapolKeyFrame::parse(frame);
    if (!parsed) {
        return;
    }
    const auto cipher = parsed->descriptorVersion() == keyinfo::kVersionMd5Rc4
                            ? crypto::KeyDataCipher::Rc4
                            : crypto::KeyDataCipher::AesKeyWrap;
    if (auto sealed =
            crypto::sealKeyData(cipher, keys.encryptionKey(), parsed->iv, parsed->keyData, rc4)) {
        parsed->keyData = std::move(*sealed);
        frame = parsed->serialize();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkParser(std::vector<std::uint8_t>(data, data + size));
    checkKeyData(std::span(data, size));
    if (size == 0) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    const int pairwise = (mode & 1) ? ciphercode::kCcmp : ciphercode::kTkip;
    const int groups[] = {ciphercode::kTkip, ciphercode::kCcmp, ciphercode::kWep40,
                          ciphercode::kWep104};
    const int group = groups[(mode >> 1) & 3];
    const bool sign = (mode & 8) != 0;
    const bool wpa2 = (mode & 32) != 0;
    const bool sealKeyData = (mode & 64) != 0;

    testing::LoopbackEapol link;
    VirtualClock clock;
    FixedNonces nonces;
    crypto::Rc4Cipher rc4;
    dot1x::KeyHandshake handshake(link, clock, nonces, rc4);
    KeyNegotiationContext context;
    context.ownMac = {0x02, 0, 0, 0, 0x05, 0x40};
    context.pairwiseMasterKey.fill(0x33);
    context.pairwiseCipher = context.groupCipher = pairwise;
    if (wpa2) {
        context.wpaElement = RsnElement::build(group, pairwise, (mode & 16) ? 1 : 2, 0);
        context.authenticationMode =
            toDriver((mode & 128) ? AuthenticationMode::Wpa2 : AuthenticationMode::Wpa2Psk);
    } else {
        context.wpaElement = WpaElement::build(group, pairwise, (mode & 16) ? 0 : 2);
    }
    int installs = 0;
    context.installKey = [&](std::span<const std::uint8_t, 8>, std::span<const std::uint8_t> key,
                             int index, int type) {
        check(!key.empty() && key.size() <= 32 && index >= 0 && index <= 3 &&
              (type == 0 || type == 1));
        ++installs;
    };
    const std::array<std::uint8_t, 6> aa{0x02, 0x10, 0, 0, 0, 0x03};
    if (!handshake.begin(context, aa)) {
        return 0;
    }
    const bool wpaNone = handshake.negotiated();

    // The keys a genuine access point would hold after a message 1 with this ANonce.
    std::array<std::uint8_t, 32> anonce{};
    anonce.fill(0xA1);
    std::array<std::uint8_t, 32> snonce{};
    snonce.fill(0x5C);
    crypto::PairwiseKeys keys;
    crypto::derivePairwiseKeys(context.pairwiseMasterKey, aa, context.ownMac, anonce, snonce,
                               pairwise == ciphercode::kTkip ? 32 : 16, keys);

    std::size_t at = 1;
    while (at + 2 <= size) {
        const std::size_t length = data[at] << 8 | data[at + 1];
        at += 2;
        const std::size_t take = std::min(length, size - at);
        std::vector<std::uint8_t> frame(data + at, data + at + take);
        at += take;
        if (sealKeyData) {
            seal(frame, keys, rc4);
        }
        if (sign) {
            signKeyFrame(frame, keys.confirmationKey());
        }
        link.toStation.push_back(std::move(frame));
        handshake.step(context);
        check(link.toAccessPoint.size() <= 64);
        for (const auto& reply : link.toAccessPoint) {
            check(reply.size() <= EapolPort::kMaxFrameBytes);
            check(EapolKeyFrame::parse(reply).has_value());
        }
        link.toAccessPoint.clear();
    }
    // Unsigned frames never earn a key; WPA-None installed its one at the start.
    if (!sign) {
        check(installs == (wpaNone ? 1 : 0));
    }
    return 0;
}
